#pragma once

// The merges of a list or record that this program holds in memory with the file another
// program may have changed since. Each takes three versions: `base`, what this program last
// read or wrote; `mine`, what it wants now; `theirs`, the file as it is now. What this
// program changed since `base` wins; everything else is the file's. When the file is still
// `base`, the result is exactly `mine`.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace fenta21 {

// Per field of a record: mine where this program changed the field, else theirs.
template <typename Record, typename... Fields>
Record mergeFields(const Record& base, const Record& mine, const Record& theirs, Fields Record::*... fields) {
    Record merged = theirs;
    ((mine.*fields != base.*fields ? void(merged.*fields = mine.*fields) : void()), ...);
    return merged;
}

// Per place of a fixed table (the address book's places): mine where this program changed the
// place, else theirs. A place one of the three lacks counts as an empty one.
template <typename T>
std::vector<T> mergeByPlace(const std::vector<T>& base, const std::vector<T>& mine, const std::vector<T>& theirs) {
    auto at = [](const std::vector<T>& places, std::size_t i) { return i < places.size() ? places[i] : T{}; };
    std::vector<T> merged(std::max({base.size(), mine.size(), theirs.size()}));
    for (std::size_t i = 0; i < merged.size(); ++i)
        merged[i] = at(mine, i) != at(base, i) ? at(mine, i) : at(theirs, i);
    return merged;
}

namespace merge_detail {

inline constexpr std::size_t kUnmatched = static_cast<std::size_t>(-1);
// Above this many cells the middle of two lists is not aligned by the table (8 MB of it):
// lists the program writes differ by a few rows, and their common head and tail are cut off
// before, so only long lists rewritten all over get there. Their rows are then paired in
// order, each with the first equal row among the next kGreedyReach rows of the other list.
inline constexpr std::size_t kMostAlignedCells = std::size_t{1} << 22;
inline constexpr std::size_t kGreedyReach = 256;

// For each row of `a`, the row of `b` it stays as (a longest common subsequence, or the
// pairing above for long rewritten lists; either keeps the order of the rows), or kUnmatched
// for a row that `b` does not have.
template <typename T>
std::vector<std::size_t> alignRows(const std::vector<T>& a, const std::vector<T>& b) {
    std::vector<std::size_t> match(a.size(), kUnmatched);
    std::size_t head = 0;
    while (head < a.size() && head < b.size() && a[head] == b[head]) match[head] = head, ++head;
    std::size_t tail = 0;
    while (head + tail < a.size() && head + tail < b.size() && a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
        match[a.size() - 1 - tail] = b.size() - 1 - tail, ++tail;
    const std::size_t n = a.size() - head - tail, m = b.size() - head - tail;
    if (n == 0 || m == 0) return match;
    if ((n + 1) * (m + 1) > kMostAlignedCells) {
        for (std::size_t i = 0, from = 0; i < n && from < m; ++i)
            for (std::size_t j = from; j < m && j < from + kGreedyReach; ++j)
                if (a[head + i] == b[head + j]) {
                    match[head + i] = head + j;
                    from = j + 1;
                    break;
                }
        return match;
    }
    // common[i * (m + 1) + j]: the longest common subsequence of the middles from a[i], b[j] on
    // (at most min(n, m), which the cell limit keeps below 2048).
    std::vector<std::uint16_t> common((n + 1) * (m + 1), 0);
    auto cell = [&](std::size_t i, std::size_t j) -> std::uint16_t& { return common[i * (m + 1) + j]; };
    for (std::size_t i = n; i-- > 0;)
        for (std::size_t j = m; j-- > 0;)
            cell(i, j) = a[head + i] == b[head + j] ? static_cast<std::uint16_t>(cell(i + 1, j + 1) + 1)
                                                    : std::max(cell(i + 1, j), cell(i, j + 1));
    for (std::size_t i = 0, j = 0; i < n && j < m;) {
        if (a[head + i] == b[head + j] && cell(i, j) == cell(i + 1, j + 1) + 1) match[head + i++] = head + j++;
        else if (cell(i + 1, j) >= cell(i, j + 1)) ++i;
        else ++j;
    }
    return match;
}

}  // namespace merge_detail

// An ordered list whose rows may repeat (the reservations, the arbitrary list). The rows this
// program removed since `base` are removed from theirs (the row they stay as, matched by
// value); the rows it added go into theirs where they stand in mine: after the nearest row
// above them that both mine and theirs still have, else before the nearest such row below
// them, else at the end. A changed row is a removal and an addition. Every other row, and
// its place, is theirs.
template <typename T>
std::vector<T> mergeOrderedList(const std::vector<T>& base, const std::vector<T>& mine, const std::vector<T>& theirs) {
    using merge_detail::kUnmatched;
    const std::vector<std::size_t> mineOfBase = merge_detail::alignRows(base, mine);
    const std::vector<std::size_t> theirsOfBase = merge_detail::alignRows(base, theirs);
    std::vector<bool> removed(theirs.size(), false);
    std::vector<bool> added(mine.size(), true);
    std::vector<std::size_t> theirsOfMine(mine.size(), kUnmatched);  // the rows both still have
    for (std::size_t row = 0; row < base.size(); ++row) {
        std::size_t kept = mineOfBase[row], there = theirsOfBase[row];
        if (kept != kUnmatched) added[kept] = false;
        if (kept != kUnmatched && there != kUnmatched) theirsOfMine[kept] = there;
        if (kept == kUnmatched && there != kUnmatched) removed[there] = true;
    }
    // Each added row is put before the row of theirs at its slot (theirs.size(): at the end).
    // Rows above the first row both have go before that row; the others after the one above.
    std::size_t first = 0;
    while (first < mine.size() && theirsOfMine[first] == kUnmatched) ++first;
    std::vector<std::size_t> slot(mine.size(), first < mine.size() ? theirsOfMine[first] : theirs.size());
    for (std::size_t row = first, above = 0; row < mine.size(); ++row) {
        if (theirsOfMine[row] != kUnmatched) above = theirsOfMine[row];
        else slot[row] = above + 1;
    }
    std::vector<T> merged;
    merged.reserve(theirs.size() + mine.size());
    std::size_t next = 0;  // the next added row of mine to place; slots never decrease along mine
    for (std::size_t row = 0; row <= theirs.size(); ++row) {
        for (; next < mine.size() && (!added[next] || slot[next] <= row); ++next)
            if (added[next]) merged.push_back(mine[next]);
        if (row < theirs.size() && !removed[row]) merged.push_back(theirs[row]);
    }
    return merged;
}

// A list file's merge: with the file's rows when there is a file (none holds no other
// program's rows, so the result is mine), or nothing when the merge has more rows than the
// file is read for: stored, its last rows would be lost at the next reading.
template <typename T>
std::optional<std::vector<T>> mergeWithListFile(const std::vector<T>& base, const std::vector<T>& mine,
                                                const std::optional<std::vector<T>>& theirs, std::size_t mostRows) {
    std::vector<T> merged = theirs ? mergeOrderedList(base, mine, *theirs) : mine;
    if (merged.size() > mostRows) return std::nullopt;
    return merged;
}

}  // namespace fenta21
