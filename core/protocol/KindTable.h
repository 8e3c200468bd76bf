#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace fenta21 {

inline constexpr int kKindCount = 128;  // a record's kind code is 7 bits
inline constexpr std::size_t kKindNameBytes = 19;
inline constexpr std::size_t kKindUnitBytes = 3;
inline constexpr std::size_t kKindTableLines = 128;

// How the values of one measurement kind are shown.
struct KindFormat {
    // '+' signed number, ' ' number with blanks, '%' number with zeros, '#' tenths,
    // '$' wind direction, 'h' time of day, any other character a number with zeros;
    // '\0' (the initial state, and a template of "-") means undefined: the kind is not shown.
    char type = '\0';
    int decimals = 0;
    std::string unit = "   ";  // UTF-8 of exactly three code page 932 bytes
    std::string name;          // UTF-8

    bool defined() const { return type != '\0'; }
};

// A line of the kind table as the panel lists it: the channels it offers, in file order.
struct KindLine {
    int kind = 0;
    std::string label;  // UTF-8
};

struct KindTable {
    std::array<KindFormat, kKindCount> kinds{};
    std::vector<KindLine> lines;
    // What was wrong with the file, one text per defect, for the user who keeps it.
    std::vector<std::string> problems;

    // The format of a kind, or null when the kind is outside 0-127 or undefined.
    const KindFormat* format(int kind) const {
        if (kind < 0 || kind >= kKindCount || !kinds[static_cast<std::size_t>(kind)].defined()) return nullptr;
        return &kinds[static_cast<std::size_t>(kind)];
    }
};

// A display template such as "+012.34m/s": its first character is the format type; a signed
// ('+') template is seven characters wide and an unsigned one six, the position of the point
// giving the decimals, and the three characters after the width are the unit. A template
// without a point inside its width has no decimals. '$' and 'h' have neither decimals nor unit.
// "-" (or an empty template) leaves the kind undefined.
KindFormat parseKindTemplate(std::string_view cp932Template);

// Reads a kind table, "<kind>,<name>,<template>,<label>" per line. A missing file leaves
// every kind undefined. A line whose kind is not a number from 0 to 127 is left out; an
// over-long name or label is cut on a character boundary; a missing template leaves the
// kind undefined. Each defect is listed; a blank line is skipped without one.
KindTable parseKindTable(std::string_view text, std::string_view fileName);
KindTable loadKindTable(const std::string& path);

}  // namespace fenta21
