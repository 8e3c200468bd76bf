// The entry editor's checks, without a window.
#include "core/base/Folders.h"
#include "core/session/Session.h"
#include "core/stations/AddressBook.h"
#include "core/remote/StationEditor.h"
#include "tests/support/ScriptedHost.h"
#include "tests/support/TempHome.h"
#include "tests/support/TestClock.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace fenta21::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class Editor : public ::testing::Test {
protected:
    Editor() : session(home.path(), host, clock) {
        std::filesystem::create_directory(home.root() + "/data");
        std::filesystem::create_directory(home.root() + "/logs");
    }

    StationEditor open(int index) {
        auto editor = StationEditor::open(session, book, index);
        EXPECT_TRUE(editor.has_value());
        return *editor;
    }
    // A form that passes every check.
    StationForm goodForm() const { return {"KAWABE", "0123_1", "river", "KW", home.root() + "/logs", false}; }

    TempHome home;
    TestClock clock;
    ScriptedHost host;
    Session session;
    AddressBook book;
};

TEST_F(Editor, OpensOnTheEntryWithItsChoice) {
    book.store(41, {"DIRECT", "", "remark", "D", "/x", "com"});
    StationEditor editor = open(41);
    EXPECT_EQ(editor.numberText(), "042");
    EXPECT_EQ(editor.form(), (StationForm{"DIRECT", "", "remark", "D", "/x", true}));
    EXPECT_FALSE(StationEditor::open(session, book, -1).has_value());
    EXPECT_FALSE(StationEditor::open(session, book, 100).has_value());
}

TEST_F(Editor, StoresTheFieldsTheFolderAsTypedAndTheMethodOfTheChoice) {
    StationEditor editor = open(0);
    StationForm typed = goodForm();
    typed.direct = true;
    ASSERT_EQ(editor.confirm(typed), EditorOutcome::Stored);
    // The check completes the folder with a separator; the entry keeps what was typed.
    EXPECT_EQ(book.station(0), (Station{"KAWABE", "0123_1", "river", "KW", home.root() + "/logs", "com"}));
    EXPECT_TRUE(book.isDirect(0));

    typed.direct = false;
    ASSERT_EQ(editor.confirm(typed), EditorOutcome::Stored);
    EXPECT_EQ(book.station(0).method, "modem");
    EXPECT_FALSE(book.isDirect(0));
    EXPECT_THAT(host.reports(), IsEmpty());
}

TEST_F(Editor, EmptyOrBlankFolderStandsForTheDataFolderAndIsStoredAsTyped) {
    StationEditor editor = open(2);
    for (const char* folder : {"", " anything"}) {
        StationForm typed = goodForm();
        typed.folder = folder;
        ASSERT_EQ(editor.confirm(typed), EditorOutcome::Stored) << '"' << folder << '"';
        EXPECT_EQ(book.station(2).folder, folder);
    }
    std::filesystem::remove(home.root() + "/data");
    StationForm typed = goodForm();
    typed.folder = "";
    EXPECT_EQ(editor.confirm(typed), EditorOutcome::FolderMissing);
}

TEST_F(Editor, MissingFolderIsReportedResetAndNothingStored) {
    book.store(5, {"OLD", "1", "", "", "", "modem"});
    StationEditor editor = open(5);
    StationForm typed = goodForm();
    typed.folder = home.root() + "/nowhere";
    EXPECT_EQ(editor.confirm(typed), EditorOutcome::FolderMissing);
    EXPECT_THAT(host.reports(), ElementsAre("設定したフォルダがありません!! "));
    EXPECT_EQ(book.station(5), (Station{"OLD", "1", "", "", "", "modem"}));
    // The editor stays with what was typed, the folder field reset.
    StationForm shown = typed;
    shown.folder = kDataFolderResetText;
    EXPECT_EQ(editor.form(), shown);
}

TEST_F(Editor, FieldLimitsCountCodePage932Bytes) {
    struct Row {
        StationField field;
        std::string text;
        bool fits;
    } rows[] = {
        {StationField::Name, std::string(30, 'a'), true},
        {StationField::Name, std::string(31, 'a'), false},
        {StationField::Name, "観測所観測所観測所観測所観測所", true},     // 15 double-byte characters
        {StationField::Name, "観測所観測所観測所観測所観測所x", false},   // 31 bytes
        {StationField::Name, "ｶﾜﾍﾞｶﾜﾍﾞｶﾜﾍﾞｶﾜﾍﾞｶﾜﾍﾞｶﾜﾍﾞｶﾜﾍﾞｶﾜ", true},  // half-width kana: one byte each
        {StationField::Telephone, std::string(31, '1'), false},
        {StationField::Remark, std::string(30, 'r'), true},
        {StationField::FileName, std::string(31, 'f'), false},
        {StationField::Folder, std::string(64, 'd'), true},
        {StationField::Folder, std::string(65, 'd'), false},
    };
    for (const Row& row : rows) EXPECT_EQ(fitsStationField(row.field, row.text), row.fits) << row.text;
}

TEST_F(Editor, OverlongFieldCommaOrLineBreakIsRefusedWithAMessage) {
    struct Row {
        const char* legend;
        void (*change)(StationForm&);
        EditorOutcome outcome;
        const char* message;
    } rows[] = {
        {"name", [](StationForm& f) { f.name = std::string(31, 'n'); }, EditorOutcome::FieldTooLong,
         "地点名は30バイトまでです!! "},
        {"telephone", [](StationForm& f) { f.telephone = std::string(31, '1'); }, EditorOutcome::FieldTooLong,
         "電話番号は30バイトまでです!! "},
        {"folder", [](StationForm& f) { f.folder = "/" + std::string(64, 'd'); }, EditorOutcome::FieldTooLong,
         "ﾌｫﾙﾀﾞ名は64バイトまでです!! "},
        {"comma in the name", [](StationForm& f) { f.name = "a,b"; }, EditorOutcome::CommaInField,
         kCommaRefusedText},
        {"comma in the remark", [](StationForm& f) { f.remark = ","; }, EditorOutcome::CommaInField,
         kCommaRefusedText},
        // adr.csv would take it as the end of the entry.
        {"line break in the telephone", [](StationForm& f) { f.telephone = "03\n1111"; },
         EditorOutcome::LineBreakInField, kLineBreakRefusedText},
        {"carriage return in the file name", [](StationForm& f) { f.fileName = "KW\r"; },
         EditorOutcome::LineBreakInField, kLineBreakRefusedText},
    };
    for (const Row& row : rows) {
        ScriptedHost rowHost;
        Session rowSession(home.path(), rowHost, clock);
        AddressBook rowBook;
        auto editor = StationEditor::open(rowSession, rowBook, 9);
        StationForm typed = goodForm();
        row.change(typed);
        EXPECT_EQ(editor->confirm(typed), row.outcome) << row.legend;
        EXPECT_THAT(rowHost.reports(), ElementsAre(row.message)) << row.legend;
        EXPECT_EQ(rowBook.station(9), Station{}) << row.legend;
        EXPECT_EQ(editor->form(), typed) << row.legend;
    }
}

TEST_F(Editor, BrowsedFolderReplacesTheFieldUnlessItIsTooLong) {
    StationEditor editor = open(0);
    host.folders = {"/mnt/usb", "", "/" + std::string(70, 'd')};
    editor.browseFolder();
    EXPECT_EQ(editor.form().folder, "/mnt/usb");
    editor.browseFolder();  // the browser was cancelled
    EXPECT_EQ(editor.form().folder, "/mnt/usb");
    editor.browseFolder();
    EXPECT_EQ(editor.form().folder, "/mnt/usb");
    EXPECT_THAT(host.reports(), ElementsAre("ﾌｫﾙﾀﾞ名は64バイトまでです!! "));
}

}  // namespace
}  // namespace fenta21::test
