// The data file viewer's header list and record pages on an arbitrary data file (the input),
// in memory and through a session as the window reads them. Every row must lie inside the
// file, and paging forward from the first page must come to a last page.
#include "core/session/Session.h"
#include "core/datafile/DataFileViewer.h"
#include "core/datafile/DataRecord.h"
#include "core/datafile/HeaderReference.h"
#include "core/datafile/OffsetText.h"
#include "tests/fuzz/support/FuzzCheck.h"
#include "tests/fuzz/support/FuzzHome.h"
#include "tests/fuzz/support/FuzzHost.h"
#include "tests/fuzz/support/FuzzText.h"
#include "tests/fuzz/support/InstantClock.h"

using namespace fenta21;

namespace {

void checkRows(const RecordPage& page, std::string_view image) {
    FUZZ_CHECK(page.rows.size() <= kRecordsPerPage);
    for (const RecordRow& row : page.rows) {
        FUZZ_CHECK(row.offset + kRecordBytes <= image.size());
        FUZZ_CHECK(row.offsetText == offsetText(row.offset));
        FUZZ_CHECK(row.hex.size() == 2 * kRecordBytes);
        FUZZ_CHECK(row.decoded.empty() == !decodeRecord(image.substr(row.offset, kRecordBytes)).has_value());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view image(reinterpret_cast<const char*>(data), size);

    HeaderListing listing = listHeader(image, fuzz::fuzzHome());
    std::size_t end = 0;
    for (const HeaderRow& row : listing.rows) {
        FUZZ_CHECK(row.offset == end);
        FUZZ_CHECK(fuzz::isValidUtf8(row.label) && fuzz::isValidUtf8(row.value));
        end = row.offset + headerItemBytes(row.label.empty() ? '\0' : row.label.front());
        FUZZ_CHECK(end <= size);
    }

    RecordPaging paging;
    paging.reset();
    const int pagesInFile = static_cast<int>(size / (kRecordsPerPage * kRecordBytes)) + 1;
    for (;;) {
        RecordPage page = readRecordPage(image, paging.page());
        checkRows(page, image);
        paging.noteShown(page);
        if (!paging.canGoForward()) break;
        FUZZ_CHECK(paging.page() <= pagesInFile);
        paging.forward();
    }

    // The window's way: the file from disk, the messages through the session's report.
    fuzz::FuzzHost host;
    fuzz::InstantClock clock;
    Session session(fuzz::fuzzHome(), host, clock);
    const std::string file = fuzz::writeHomeFile("viewed.v38", image);
    FUZZ_CHECK(viewerHeaderRows(session, file).size() == listing.rows.size());
    RecordPage first = viewerRecordPage(session, file, 0);
    checkRows(first, image);
    FUZZ_CHECK(host.reportCount == listing.messages.size() + first.messages.size());
    return 0;
}
