#include "core/store/DataFileRecords.h"

#include "core/base/CalendarTime.h"
#include "core/base/Cp932.h"
#include "core/datafile/OffsetText.h"
#include "core/store/RecordStore.h"

#include <openssl/evp.h>

#include <array>
#include <bitset>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace fenta21::store {
namespace {

// Enough of the front of a file to hold every header field the store reads.
constexpr std::size_t kHeaderBytes = kHeaderMemoOffset + kHeaderMemoLines * kHeaderMemoBytes;
// Records are read this many at a time.
constexpr std::size_t kRecordsPerPiece = 8192;
constexpr std::size_t kFixedSlots = 32;

std::string hexOf(const unsigned char* bytes, unsigned count) {
    static const char kDigits[] = "0123456789abcdef";
    std::string text;
    for (unsigned i = 0; i < count; ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 15];
    }
    return text;
}

std::string valueTypeOf(const KindFormat& format) {
    if (format.type == '$') return "direction";
    if (format.type == 'h') return "time";
    return "number";
}

// "20YY-MM-DD HH:MM:SS" written into a fixed buffer, and the reading's calendar seconds, with
// the day's start remembered: a file's records share a few dates.
class ReadingClock {
public:
    std::string_view text(const DataRecord& r) {
        put2(0, 20);
        put2(2, r.year);
        buffer_[4] = '-';
        put2(5, r.month);
        buffer_[7] = '-';
        put2(8, r.day);
        buffer_[10] = ' ';
        put2(11, r.hour);
        buffer_[13] = ':';
        put2(14, r.minute);
        buffer_[16] = ':';
        put2(17, r.second);
        return {buffer_.data(), 19};
    }
    std::int64_t seconds(const DataRecord& r) {
        if (r.year != year_ || r.month != month_ || r.day != day_) {
            year_ = r.year;
            month_ = r.month;
            day_ = r.day;
            // timegm counts a day past the month's end on into the next, as the logger's
            // unchecked day field may hold one.
            dayStart_ = calendarSeconds(CalendarTime{2000 + r.year, r.month, r.day, 0, 0, 0});
        }
        return dayStart_ + r.hour * 3600LL + r.minute * 60LL + r.second;
    }

private:
    void put2(std::size_t at, int value) {
        buffer_[at] = static_cast<char>('0' + value / 10 % 10);
        buffer_[at + 1] = static_cast<char>('0' + value % 10);
    }
    std::array<char, 20> buffer_{};
    int year_ = -1, month_ = -1, day_ = -1;
    std::int64_t dayStart_ = 0;
};

}  // namespace

DataFileRecords::DataFileRecords(const std::string& path) : path_(path) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0) throw UnreadableFile(path + ": " + std::strerror(errno));
    struct stat info {};
    if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd_);
        throw UnreadableFile(path + ": not a regular file");
    }
    size_ = static_cast<std::uint64_t>(info.st_size);

    std::unique_ptr<EVP_MD_CTX, void (*)(EVP_MD_CTX*)> digest(EVP_MD_CTX_new(), EVP_MD_CTX_free);
    if (!digest || EVP_DigestInit_ex(digest.get(), EVP_sha256(), nullptr) != 1) {
        ::close(fd_);
        throw UnreadableFile(path + ": no SHA-256 digest available");
    }
    std::string header;
    std::vector<char> piece(1 << 20);
    for (std::uint64_t offset = 0; offset < size_;) {
        std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(piece.size(), size_ - offset));
        readAt(offset, piece.data(), want);
        EVP_DigestUpdate(digest.get(), piece.data(), want);
        if (header.size() < kHeaderBytes) header.append(piece.data(), std::min(want, kHeaderBytes - header.size()));
        offset += want;
    }
    unsigned char hash[EVP_MAX_MD_SIZE];
    unsigned length = 0;
    EVP_DigestFinal_ex(digest.get(), hash, &length);
    sha256_ = hexOf(hash, length);

    std::optional<RecordArea> area = readRecordArea(header);
    std::optional<std::string> code = readModelCode(header);
    if (!area || !code) {
        ::close(fd_);
        throw UnreadableFile(path + ": the file is too short to hold its header");
    }
    if (area->endOffset < area->startOffset) {
        ::close(fd_);
        throw UnreadableFile(path + ": the record area ends (0x" + offsetText(area->endOffset) + ") before it starts (0x" +
                             offsetText(area->startOffset) + ")");
    }
    area_ = *area;
    modelCode_ = cp932ToUtf8(*code);
}

DataFileRecords::~DataFileRecords() {
    if (fd_ >= 0) ::close(fd_);
}

void DataFileRecords::readAt(std::uint64_t offset, void* into, std::size_t bytes) const {
    auto* at = static_cast<char*>(into);
    while (bytes > 0) {
        ssize_t got = ::pread(fd_, at, bytes, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) throw UnreadableFile(path_ + ": " + (got < 0 ? std::strerror(errno) : "shorter than it was"));
        at += got;
        offset += static_cast<std::uint64_t>(got);
        bytes -= static_cast<std::size_t>(got);
    }
}

void DataFileRecords::useModel(const CurrentModel& model) {
    model_ = model;
    fixed_ = fixedColumnLayoutFor(model.code);
}

void DataFileRecords::walk(const std::function<void(const ExaminedRecord* usable)>& use) const {
    const KindTable& kinds = *model_.kinds;
    std::vector<unsigned char> piece(kRecordsPerPiece * kRecordBytes);
    // Every record that starts before the area's end is one, read whole as long as the file
    // holds it; the first the file cuts short ends the walk.
    const std::uint64_t records = (std::uint64_t{area_.endOffset} - area_.startOffset + kRecordBytes - 1) / kRecordBytes;
    const std::uint64_t areaEnd = area_.startOffset + records * kRecordBytes;
    const std::uint64_t readable = std::min<std::uint64_t>(areaEnd, size_);
    bool markerPhase = true;
    // The fixed columns of a weather station keep the first value of each kind at an instant.
    std::bitset<kFixedSlots> filled;
    DataRecord instant;
    bool haveInstant = false;
    for (std::uint64_t start = area_.startOffset; start < readable; start += piece.size()) {
        std::size_t bytes = static_cast<std::size_t>(std::min<std::uint64_t>(piece.size(), readable - start));
        readAt(start, piece.data(), bytes);
        for (std::size_t at = 0; at < bytes; at += kRecordBytes) {
            if (at + kRecordBytes > bytes) {
                use(nullptr);  // cut short by the end of the file
                break;
            }
            const unsigned char* raw = piece.data() + at;
            if (markerPhase && isStartMarker(raw)) continue;
            markerPhase = false;
            ExaminedRecord ex = examineRecord(raw, kinds, fixed_);
            if (!ex.usable) {
                use(nullptr);
                continue;
            }
            if (fixed_ != nullptr) {
                std::optional<std::size_t> slot = fixedColumnSlot(*fixed_, ex.record.kind);
                if (!haveInstant || !ex.record.sameInstant(instant)) filled.reset();
                instant = ex.record;
                haveInstant = true;
                if (!slot || *slot >= kFixedSlots || filled.test(*slot)) {
                    use(nullptr);
                    continue;
                }
                filled.set(*slot);
            }
            use(&ex);
        }
    }
}

std::vector<SeriesLabel> DataFileRecords::series() const {
    std::set<SeriesKey> keys;
    walk([&keys](const ExaminedRecord* ex) {
        if (ex != nullptr) keys.insert({ex->record.channel, ex->columnKind});
    });
    std::vector<SeriesLabel> labels;
    for (const SeriesKey& key : keys) {
        const KindFormat& format = *model_.kinds->format(key.kind);
        labels.push_back({key, format.name, format.unit, valueTypeOf(format)});
    }
    return labels;
}

std::int64_t DataFileRecords::forEachRecord(const std::function<void(const StoreRecord& record)>& row) const {
    std::int64_t skipped = 0;
    ReadingClock clock;
    const KindTable& kinds = *model_.kinds;
    walk([&](const ExaminedRecord* ex) {
        if (ex == nullptr) {
            ++skipped;
            return;
        }
        StoreRecord record;
        record.series = {ex->record.channel, ex->columnKind};
        record.loggerTime = clock.text(ex->record);
        record.loggerSeconds = clock.seconds(ex->record);
        record.number = recordValue(ex->record, kinds).number;
        record.text = ex->text.view();
        row(record);
    });
    return skipped;
}

}  // namespace fenta21::store
