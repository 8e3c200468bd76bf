// fenta21-cli reservations: the reservation list (rsv.dat) without the "予約回収" window, each
// time given as the time dialog's three lists offer it.
#include "cli/CommandWords.h"
#include "cli/Commands.h"
#include "cli/JsonResult.h"
#include "cli/StationRows.h"
#include "core/session/Session.h"
#include "core/panel/PanelText.h"
#include "core/remote/ReservationFile.h"
#include "core/remote/ReservationList.h"
#include "core/remote/ReservationRows.h"

#include <cstdio>

namespace fenta21::cli {
namespace {

constexpr const char* kEveryWord = "every";

// The position in one of the time dialog's lists of the entry a word names: "every" (or the
// entry's own text) names " 毎日" and " 毎時", a number the entry that shows that number.
std::optional<int> choicePosition(const std::vector<std::string>& choices, const std::string& word) {
    std::optional<int> number = numberBetween(word, 0, 99);
    for (std::size_t position = 0; position < choices.size(); ++position) {
        std::string entry(trimmed(choices[position]));
        std::optional<int> shown = numberBetween(entry, 0, 99);
        bool named = shown ? number == shown : (word == kEveryWord || word == entry);
        if (named) return static_cast<int>(position);
    }
    return std::nullopt;
}

// --day, --hour and --minute over `time` (the dialog's preset); false with a complaint when a
// word names no entry.
bool applyTimeWords(const std::vector<NamedValue>& words, ReservationTime& time, std::string& complaint) {
    for (const NamedValue& word : words) {
        const bool day = word.name == "--day", hour = word.name == "--hour";
        const auto& choices = day ? dayChoices() : hour ? hourChoices() : minuteChoices();
        std::optional<int> position = choicePosition(choices, word.value);
        if (!position) {
            const char* takes = day ? " takes every or a day 1-31" : hour ? " takes every or an hour 0-23"
                                                                           : " takes a minute 0-59";
            complaint = word.name + takes + ", not \"" + word.value + "\"";
            return false;
        }
        (day ? time.day : hour ? time.hourCode : time.minute) = *position;
    }
    return true;
}

nlohmann::ordered_json timeJson(bool isEvery, int shown) {
    return isEvery ? nlohmann::ordered_json(kEveryWord) : nlohmann::ordered_json(shown);
}

void showReservations(const Session& session, JsonResult& json, const std::vector<Reservation>& rows) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const Reservation& reservation = rows[row];
        if (json.wanted()) {
            const ReservationTime& t = reservation.time;
            list.push_back({{"row", row + 1},
                            {"day", timeJson(t.day == 0, t.day)},
                            {"hour", timeJson(t.hourCode == 0, t.hourCode - 1)},
                            {"minute", t.minute},
                            {"station", stationJson(session.addressBook, reservation.station)}});
            continue;
        }
        auto texts = reservationRow(reservation, session.addressBook);
        std::vector<std::string> before{std::to_string(row + 1)};
        for (std::size_t column = 0; column < kTimeColumnCount; ++column)
            before.emplace_back(trimmed(texts[column]));
        printStationRow(session.addressBook, reservation.station, before);
    }
    json.body()["reservations"] = list;
    std::fflush(stdout);
}

int editReservations(CommandContext& context, JsonResult& json) {
    auto& args = context.args;
    Session& session = context.session;
    ReservationList list(session, session.addressBook, session.reservations);
    const std::size_t rowCount = list.rows().size();
    std::vector<NamedValue> timeWords;
    std::string complaint;
    if (!takeNamedValues(args, {"--day", "--hour", "--minute"}, timeWords, complaint))
        return json.refuse(complaint, kExitUsage);
    if (args.empty())
        return json.refuse("a time needs a word before it (see fenta21-cli reservations --help)", kExitUsage);
    const std::string word = args[0];
    // What each word needs: a row of the list, an address-book entry, a time.
    const bool needsRow = word == "insert" || word == "edit" || word == "remove";
    const bool needsStation = word == "add" || word == "insert";
    const bool takesTime = word == "add" || word == "insert" || word == "edit";
    const std::size_t wanted = 1 + (needsRow ? 1 : 0) + (needsStation ? 1 : 0);
    if (word != "add" && !needsRow && word != "clear")
        return json.refuse("unknown argument " + word + " (see fenta21-cli reservations --help)", kExitUsage);
    if (!takesTime && !timeWords.empty()) return json.refuse(word + " takes no time", kExitUsage);
    if (args.size() != wanted)
        return json.refuse("reservations " + word + " takes " +
                               (needsRow && needsStation ? "a row and an address-book number"
                                : needsRow               ? "a row of the list"
                                : needsStation           ? "an address-book number"
                                                         : "no arguments") +
                               (takesTime ? ", then the time as --day, --hour and --minute" : ""),
                           kExitUsage);
    std::optional<int> row = needsRow ? listRow(args[1]) : std::optional<int>(0);
    std::optional<int> place = needsStation ? stationPlace(args.back()) : std::optional<int>(0);
    if (!row) return json.refuse("the row is a number counted from 1, not \"" + args[1] + "\"", kExitUsage);
    if (!place) return json.refuse("the address-book number is 1 to 100, not \"" + args.back() + "\"", kExitUsage);

    // The time dialog opens at every day, every hour, minute 00 for a new reservation, and
    // preset from the row for a change.
    ReservationTime time;
    if (word == "edit" && *row < static_cast<int>(rowCount)) time = list.rows()[static_cast<std::size_t>(*row)].time;
    if (!applyTimeWords(timeWords, time, complaint)) return json.refuse(complaint, kExitUsage);

    ReservationEdit edit = ReservationEdit::Refused;
    if (word == "add") edit = list.add(*place, time);
    else if (word == "insert") edit = list.insertBefore(*row, *place, time);
    else if (word == "edit") edit = list.editTime(*row, time);
    else if (word == "remove") edit = list.remove(*row);
    else edit = list.clear();

    if (edit == ReservationEdit::NotSaved) return kExitFailed;  // reported by the list
    if (edit == ReservationEdit::Refused) {
        if (needsStation && list.full())
            return json.refuse("the reservation list is full (" + std::to_string(kMostReservations) + " rows)",
                               kExitUsage);
        if (needsRow && *row >= static_cast<int>(rowCount))
            return json.refuse("the list has no row " + args[1] + " (it has " + std::to_string(rowCount) + ")",
                               kExitUsage);
        return json.refuse("entry " + std::to_string(*place + 1) + " of the address book is empty", kExitUsage);
    }
    showReservations(session, json, list.rows());
    return kExitOk;
}

int runReservations(CommandContext& context) {
    JsonResult json(context, "reservations");
    Session& session = context.session;
    json.body()["reservationFile"] = session.homeFile(kReservationFileName);
    const auto& args = context.args;
    int status = kExitOk;
    if (args.empty() || args[0] == "show") {
        if (args.size() > 1) status = json.refuse("reservations show takes no arguments", kExitUsage);
        else showReservations(session, json, session.reservations.snapshot());
    } else {
        status = editReservations(context, json);
    }
    return json.finish(status);
}

}  // namespace

const CommandInfo kReservationsCommand{
    "reservations",
    "reservations [--json] [show | add N TIME | insert ROW N TIME | edit ROW TIME | remove ROW | clear]",
    "Without arguments (or with show), prints the reservation list (rsv.dat): the row number\n"
    "(from 1), the day, hour and minute as the \"予約回収\" window shows them (毎日 every day, 毎時\n"
    "every hour), then the station as stations prints it. The scheduler collects the first row\n"
    "whose time has come.\n\n"
    "  add N TIME        a reservation for address-book entry N (1-100) at the end (\"追加 ->\")\n"
    "  insert ROW N TIME the same, before row ROW (\"挿入 ->\")\n"
    "  edit ROW TIME     a new time for row ROW; its place and station stay (\"ﾌﾟﾛﾊﾟﾃｨ\")\n"
    "  remove ROW        removes row ROW (\"削除 <-\")\n"
    "  clear             empties the list (\"全て削除\")\n\n"
    "TIME is what the time dialog (\"予約回収時間の設定\") offers: --day every|1-31, --hour\n"
    "every|0-23, --minute 0-59. A new reservation starts, as the dialog does, at every day, every\n"
    "hour, minute 00; edit starts from the row's own time. The entry must have a name and the\n"
    "row must be one of the list's; the list takes at most 10000 rows. A change is saved at once\n"
    "(written aside and renamed over rsv.dat, with the rows another program added or removed\n"
    "meanwhile kept) and the list is printed again. A running scheduler takes it in within a\n"
    "second. With --json, one JSON object: reservationFile and\n"
    "reservations (row, day, hour, minute, station), exitStatus, message and messages.\n"
    "Exit status: 0 shown or saved, 1 rsv.dat could not be written (it stays as it was), 2 a\n"
    "refused value or usage error (nothing written).\n",
    &runReservations,
};

}  // namespace fenta21::cli
