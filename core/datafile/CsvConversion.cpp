#include "core/datafile/CsvConversion.h"

#include "core/base/Cp932.h"
#include "core/base/PrintableText.h"
#include "core/datafile/DataFileHeader.h"
#include "core/datafile/DataFileMessages.h"
#include "core/datafile/DataRecord.h"
#include "core/datafile/FixedColumnModels.h"
#include "core/datafile/OffsetText.h"
#include "core/datafile/RecordExamination.h"
#include "core/datafile/ValueFormatter.h"

#include <array>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

namespace fenta21 {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

void appendDigits2(std::string& out, int value) {
    out += static_cast<char>('0' + value / 10 % 10);
    out += static_cast<char>('0' + value % 10);
}

// "yyyy/mm/dd,hh:mm:ss," from a decoded record, whose fields are known to be in range.
void appendTimestamp(std::string& out, const DataRecord& r) {
    out += "20";
    appendDigits2(out, r.year);
    out += '/';
    appendDigits2(out, r.month);
    out += '/';
    appendDigits2(out, r.day);
    out += ',';
    appendDigits2(out, r.hour);
    out += ':';
    appendDigits2(out, r.minute);
    out += ':';
    appendDigits2(out, r.second);
    out += ',';
}

struct Column {
    int channel = 0;
    int kind = 0;  // the folded kind, or for the fixed-column models the record's own
};

// One conversion. The record area is walked by two steps that hand over to each other: the
// layout step finds the columns from the records of one instant and writes their headings,
// the row step writes one line per instant while the records keep that layout and hands back
// to the layout step, with the position to start from, when they do not.
class CsvConverter {
public:
    CsvConverter(std::string_view image, const std::string& dataFileName, const CsvConversionContext& context,
                 CsvConversion& result)
        : image_(image),
          bytes_(reinterpret_cast<const unsigned char*>(image.data())),
          dataFileName_(dataFileName),
          context_(context),
          result_(result) {}

    void run() {
        result_.outcome = convert();
    }

private:
    enum class Step { Continue, Completed, Stopped, Failed };

    using Examined = ExaminedRecord;

    ConversionOutcome convert() {
        std::optional<RecordArea> area = readRecordArea(image_);
        if (!area) return failed("the file is too short to hold its header");
        if (area->endOffset < area->startOffset)
            return failed("the record area ends (0x" + offsetText(area->endOffset) + ") before it starts (0x" +
                          offsetText(area->startOffset) + ")");
        std::optional<std::string> code = readModelCode(image_);
        if (!code) return failed("the file is too short to hold its model code");
        std::optional<CurrentModel> model;
        if (context_.identifyModel) model = context_.identifyModel(*code);
        if (!model) return failed("type.dat has no line for the model \"" + printableBytes(*code) + "\"");
        model_ = std::move(*model);
        fixed_ = fixedColumnLayoutFor(*code);

        result_.csv += utf8ToCp932(model_.name);
        result_.csv += kLineEnd;
        std::optional<std::array<std::string, kHeaderMemoLines>> memo = readMemoLines(image_);
        if (!memo) return failed("the file is too short to hold its memo texts");
        for (const std::string& line : *memo) {
            result_.csv += line;
            result_.csv += kLineEnd;
        }

        end_ = area->endOffset;
        std::uint64_t position = area->startOffset;
        while (true) {
            Step step = layout(position);
            if (step == Step::Continue) step = rows(position);
            switch (step) {
            case Step::Continue: continue;
            case Step::Completed: return ConversionOutcome::Completed;
            case Step::Stopped: return ConversionOutcome::StoppedByUser;
            case Step::Failed: return ConversionOutcome::Failed;
            }
        }
    }

    ConversionOutcome failed(std::string why) {
        result_.failure = std::move(why);
        return ConversionOutcome::Failed;
    }

    Step cutShort(std::uint64_t position) {
        if (markerPhase_)
            result_.failure = "nothing but start markers from the start of the record area to the end of the file";
        else
            result_.failure = "the record at 0x" + offsetText(position) + " is cut short by the end of the file";
        return Step::Failed;
    }

    bool fits(std::uint64_t position) const { return position + kRecordBytes <= image_.size(); }

    Examined examine(std::uint64_t position) const { return examineRecord(bytes_ + position, *model_.kinds, fixed_); }

    // Whether to leave an unusable record out and go on. The user is asked the first time;
    // after a yes the rest of the file goes on without asking.
    bool goOnPast(const Examined& ex) {
        if (answered_) return true;
        const char* question = ex.decoded ? kUndefinedKindQuestion : kBadRecordQuestion;
        if (!context_.askToContinue || !context_.askToContinue(messageWithName(question, dataFileName_))) return false;
        answered_ = true;
        return true;
    }

    // Finds the columns from the instant of the first usable record at or after `position`
    // and writes their headings; `position` becomes that record's. The first record is read
    // even at endOffset (a file whose area is empty still gets its headings), and start
    // markers in front of the first record are skipped.
    Step layout(std::uint64_t& position) {
        Examined first;
        while (true) {
            if (!fits(position)) return cutShort(position);
            if (markerPhase_ && isStartMarker(bytes_ + position)) {
                position += kRecordBytes;
                continue;
            }
            markerPhase_ = false;
            first = examine(position);
            if (first.usable) break;
            if (!goOnPast(first)) return Step::Stopped;
            position += kRecordBytes;
            // Past a left-out record the area may be over; nothing beyond endOffset is a record.
            if (position >= end_) return Step::Completed;
        }
        columns_.clear();
        columns_.push_back(Column{first.record.channel, first.columnKind});
        for (std::uint64_t next = position + kRecordBytes; next < end_; next += kRecordBytes) {
            if (!fits(next)) return cutShort(next);
            Examined ex = examine(next);
            if (!ex.usable) {
                if (!goOnPast(ex)) return Step::Stopped;
                continue;
            }
            if (!ex.record.sameInstant(first.record)) break;
            columns_.push_back(Column{ex.record.channel, ex.columnKind});
        }
        writeHeadings();
        return Step::Continue;
    }

    void writeHeadings() {
        std::string& csv = result_.csv;
        if (fixed_ != nullptr) {
            // The fixed columns never change, so their headings stand once at the top.
            if (fixedHeadingsWritten_) return;
            fixedHeadingsWritten_ = true;
            csv += utf8ToCp932(fixed_->heading);
            csv += kLineEnd;
            csv += utf8ToCp932(fixed_->units);
            csv += kLineEnd;
            return;
        }
        std::string names = "date,time";
        std::string units = ",";
        for (const Column& column : columns_) {
            const KindFormat& format = *model_.kinds->format(column.kind);
            names += ',';
            names += format.name;
            units += ',';
            units += format.unit;
        }
        csv += utf8ToCp932(names);
        csv += kLineEnd;
        csv += utf8ToCp932(units);
        csv += kLineEnd;
    }

    // Writes one line per instant from `position` while the records follow the layout. On
    // Continue, `position` is where the layout step starts again.
    Step rows(std::uint64_t& position) {
        while (true) {
            previousRowStart_ = rowStart_;
            rowStart_ = position;
            if (position >= end_) return Step::Completed;

            line_.clear();
            if (fixed_ != nullptr) slotFilled_.fill(false);
            DataRecord rowTime;
            std::size_t filled = 0;
            std::uint64_t next = position;
            while (filled < columns_.size()) {
                if (next >= end_) {
                    if (filled == 0) return Step::Completed;  // only left-out records remained
                    // The instant is cut off by the end of the area: it gets a layout of its own.
                    position = rowStart_;
                    return Step::Continue;
                }
                if (!fits(next)) return cutShort(next);
                Examined ex = examine(next);
                if (!ex.usable) {
                    if (!goOnPast(ex)) return Step::Stopped;
                    next += kRecordBytes;
                    continue;
                }
                if (filled == 0) {
                    rowTime = ex.record;
                    appendTimestamp(line_, rowTime);
                } else if (!ex.record.sameInstant(rowTime)) {
                    // Fewer records than columns at this instant: it gets a layout of its own.
                    position = rowStart_;
                    return Step::Continue;
                }
                const Column& column = columns_[filled];
                if (ex.record.channel != column.channel || ex.columnKind != column.kind) {
                    if (haveLastRow_ && ex.record.sameInstant(lastRowTime_)) {
                        // The instant of the line just written goes on: that line was only
                        // part of it. Take it back and lay the whole instant out again.
                        result_.csv.resize(lastRowCsvSize_);
                        position = previousRowStart_;
                    } else {
                        position = rowStart_;
                    }
                    return Step::Continue;
                }
                place(ex, filled);
                ++filled;
                next += kRecordBytes;
            }
            finishLine();
            lastRowCsvSize_ = result_.csv.size();
            lastRowTime_ = rowTime;
            haveLastRow_ = true;
            result_.csv += line_;
            position = next;
        }
    }

    void place(const Examined& ex, std::size_t columnIndex) {
        if (fixed_ == nullptr) {
            if (columnIndex > 0) line_ += ',';
            line_.append(ex.text.view());
            return;
        }
        // A kind outside the fixed table has no column; a kind met twice keeps its first value.
        std::optional<std::size_t> slot = fixedColumnSlot(*fixed_, ex.record.kind);
        if (!slot || *slot >= kMaxFixedColumns || slotFilled_[*slot]) return;
        slotFilled_[*slot] = true;
        slotText_[*slot] = ex.text;
    }

    void finishLine() {
        if (fixed_ != nullptr) {
            // Every fixed-column line has as many fields as the heading, empty where the
            // instant had no record of that kind.
            for (std::size_t slot = 0; slot < fixed_->kinds.size() && slot < kMaxFixedColumns; ++slot) {
                if (slot > 0) line_ += ',';
                if (slotFilled_[slot]) line_.append(slotText_[slot].view());
            }
        }
        line_ += kLineEnd;
    }

    static constexpr std::size_t kMaxFixedColumns = 16;

    const std::string_view image_;
    const unsigned char* const bytes_;
    const std::string& dataFileName_;
    const CsvConversionContext& context_;
    CsvConversion& result_;

    CurrentModel model_;
    const FixedColumnLayout* fixed_ = nullptr;
    std::uint64_t end_ = 0;
    bool answered_ = false;
    bool markerPhase_ = true;
    bool fixedHeadingsWritten_ = false;
    std::vector<Column> columns_;

    std::uint64_t rowStart_ = 0;
    std::uint64_t previousRowStart_ = 0;
    bool haveLastRow_ = false;
    std::size_t lastRowCsvSize_ = 0;
    DataRecord lastRowTime_;
    std::string line_;
    std::array<bool, kMaxFixedColumns> slotFilled_{};
    std::array<ValueText, kMaxFixedColumns> slotText_{};
};

}  // namespace

std::function<std::optional<CurrentModel>(const std::string&)> identifyThrough(ModelRegistry& models) {
    return [&models](const std::string& code) -> std::optional<CurrentModel> {
        CurrentModel model;
        if (models.identifyModel(code, &model) != 0) return std::nullopt;
        return model;
    };
}

CsvConversion convertImageToCsv(std::string_view image, const std::string& dataFileName,
                                const CsvConversionContext& context) {
    CsvConversion result;
    try {
        // A full general-model file grows by about a third in CSV; reserving avoids most copies.
        result.csv.reserve(image.size() + image.size() / 2);
        CsvConverter(image, dataFileName, context, result).run();
    } catch (const std::bad_alloc&) {
        // The text so far stays whole (appending either succeeds or leaves it as it was).
        result.outcome = ConversionOutcome::Failed;
        result.failure = "the CSV text is too large to be held in memory";
    }
    return result;
}

}  // namespace fenta21
