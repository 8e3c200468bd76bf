#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fenta21 {

// The viewer shows the record area a page of 2048 records at a time; page p starts at
// startOffset + p x 16384.
inline constexpr std::size_t kRecordsPerPage = 2048;

// One row of the viewer's record list.
struct RecordRow {
    std::uint32_t offset = 0;
    std::string offsetText;  // "%06X"
    std::string hex;         // the eight bytes, "%02X" each
    // "yy/mm/dd,hh:mm:ss,channel,kind,value" with the raw value, or empty when the bytes are
    // not a valid record (a start marker, never-written memory).
    std::string decoded;
};

struct RecordPage {
    int page = 0;
    std::vector<RecordRow> rows;
    // The record area ends on this page (or the file does): there is no next page. A page
    // that is exactly full is not known to be the last; the next one, empty, then is.
    bool isLastPage = false;
    std::vector<std::string> messages;  // what to tell the user ("データ読み取り中にて途中終了!! ")
};

// Page `page` (from 0) of a data file's records, read only up to endOffset and never past
// the end of the file.
RecordPage readRecordPage(std::string_view image, int page);
RecordPage readRecordPageOfFile(const std::string& dataFile, int page);

// The viewer's page buttons: the current page and the last page once a page has shown it.
class RecordPaging {
public:
    static constexpr int kLastPageUnknown = 9999;

    int page() const { return page_; }
    int lastPage() const { return lastPage_; }
    bool canGoBack() const { return page_ > 0; }
    bool canGoForward() const { return lastPage_ == kLastPageUnknown || page_ < lastPage_; }

    // A new file: page 0, last page unknown.
    void reset() { page_ = 0, lastPage_ = kLastPageUnknown; }
    void forward() { if (canGoForward()) ++page_; }
    void back() { if (canGoBack()) --page_; }
    // What the page just read says about the end.
    void noteShown(const RecordPage& shown) { if (shown.isLastPage) lastPage_ = shown.page; }

private:
    int page_ = 0;
    int lastPage_ = kLastPageUnknown;
};

}  // namespace fenta21
