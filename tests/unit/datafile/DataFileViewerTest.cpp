#include "core/session/Session.h"
#include "core/base/Files.h"
#include "core/datafile/DataFileMessages.h"
#include "core/datafile/DataFileViewer.h"
#include "sim/image/DataImage.h"
#include "tests/support/ScriptedHost.h"
#include "tests/support/TempHome.h"
#include "tests/support/TestClock.h"

#include <gtest/gtest.h>

namespace fenta21 {
namespace {

// The session's viewer lists hand their messages to the shared report and keep the rows.
TEST(DataFileViewer, MessagesGoToTheSharedReport) {
    test::TempHome home;
    test::ScriptedHost host;
    test::TestClock clock;
    Session session(home.path(), host, clock);
    home.write("XBR-PLQ-01.hed", "Ileading\r\nLend\r\n");
    sim::ImageRecipe recipe;
    recipe.instants = 3;
    recipe.channels = {{0, 20, 1, 1}};
    recipe.endOffset = 0x10000;
    std::string file = home.file("A.v38");
    writeFileAtomically(file, sim::buildDataImage(recipe));

    std::vector<HeaderRow> header = viewerHeaderRows(session, file);
    ASSERT_EQ(header.size(), 2u);
    EXPECT_EQ(header[1].value, "65536");
    RecordPage page = viewerRecordPage(session, file, 0);
    EXPECT_EQ(page.rows.size(), (1024u - 640u) / 8u);
    EXPECT_EQ(host.reports(), (std::vector<std::string>{kNoHeaderReferenceMessage, kRecordReadAbortedMessage}));
}

}  // namespace
}  // namespace fenta21
