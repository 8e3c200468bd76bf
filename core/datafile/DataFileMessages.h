#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace fenta21 {

// What the user is told about data files, word for word as the program has always said it
// (the trailing blanks included: texts are laid out for the message box).
inline constexpr const char* kCsvAbortedMessage = "CSVファイル作成中にて途中終了!! ";
inline constexpr const char* kHeaderReadAbortedMessage = "ヘッダー読み取り中にて途中終了!! ";
inline constexpr const char* kRecordReadAbortedMessage = "データ読み取り中にて途中終了!! ";
inline constexpr const char* kNoHeaderReferenceMessage = "ヘッダー参照ファイルがありません!! ";
inline constexpr const char* kCsvProgressText = "CSVファイル作成中...            ";
inline constexpr const char* kNoFileChosenMessage = "ファイルが正しく選択されていません！！";
inline constexpr const char* kTooManyFilesMessage = "バッファオーバーしました。1000個以内で選択し直してください！！";

// Questions; "%s" is the data file name or the CSV name.
inline constexpr const char* kBadRecordQuestion =
    "%s\r\n 未記録領域のデータか、正しく記録されていないデータが含まれています。処理を続けますか？ ";
inline constexpr const char* kUndefinedKindQuestion = "%s\r\n 測定モードが正しく記録されていません。処理を続けますか？ ";
inline constexpr const char* kOverwriteQuestion = "%s\r\n同一ファイル名がすでに存在します。上書きしますか？";

// What an unattended conversion logs in place of the questions above; "%s" is the data
// file's name.
inline constexpr const char* kBadRecordsLeftOutNote = "%s 正しく記録されていないデータを除いてCSV変換しました";
inline constexpr const char* kUndefinedKindsLeftOutNote = "%s 測定モードが正しく記録されていないデータを除いてCSV変換しました";

// A question with its "%s" filled in.
inline std::string messageWithName(const char* pattern, const std::string& name) {
    std::string_view text(pattern);
    std::size_t at = text.find("%s");
    std::string filled(text.substr(0, at));
    filled += name;
    filled += text.substr(at + 2);
    return filled;
}

// The file dialog's filter: a description and a pattern.
inline constexpr const char* kDataFileFilter = " Binary data (*.v38)|*.v38";

}  // namespace fenta21
