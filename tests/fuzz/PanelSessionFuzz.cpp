// The panel's reads over a scripted logger (see ScriptedLine.h): the start of a session, then
// the refreshes and the reads its sub-lists and refresher repeat, for whichever installed
// model the logger names. The first byte chooses the channel and item (see PanelReads.h). Whatever the logger
// answers, every value the panel keeps fits the display and never holds half a character.
#include "core/session/Session.h"
#include "core/panel/MeasurementLines.h"
#include "core/panel/PanelItems.h"
#include "core/panel/PanelText.h"
#include "tests/fuzz/support/FuzzCheck.h"
#include "tests/fuzz/support/FuzzText.h"
#include "tests/fuzz/support/LineSession.h"
#include "tests/fuzz/support/PanelReads.h"

using namespace fenta21;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    fuzz::LineSession run(fuzz::parseLineScript(data + 1, size - 1));
    Session& session = run.session;
    session.models.loadModelTable();

    fuzz::runPanelReads(session, data[0]);
    fuzz::traceLine(*run.line);

    session.panel.readTexts([](const PanelTexts& texts) {
        for (const std::string& value : texts.values) FUZZ_CHECK(fuzz::isValidUtf8(value) && displayWidth(value) <= kDisplayColumns);
        for (const std::string* line : {&texts.dataLine1, &texts.dataLine2, &texts.modeLine, &texts.monitorLine})
            FUZZ_CHECK(fuzz::isValidUtf8(*line) && displayWidth(*line) <= kMeasurementColumns);
        for (const std::string* line : {&texts.line1, &texts.line2}) FUZZ_CHECK(fuzz::isValidUtf8(*line));
        return 0;
    });
    FUZZ_CHECK(fuzz::isValidUtf8(session.panelStationId.get()));
    return 0;
}
