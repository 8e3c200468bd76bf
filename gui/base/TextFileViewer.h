#pragma once

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace fenta21::gui {

// A window that shows a text, CSV or log file read-only, in a fixed-pitch font, for as long
// as the user keeps it open; the program goes on meanwhile. "関連アプリで開く" hands the
// file to the application the desktop has for it. A file that cannot be read shows why in
// the window instead of its text.
class TextFileViewer : public QWidget {
    Q_OBJECT
public:
    explicit TextFileViewer(const QString& path, QWidget* parent = nullptr);

    // Opens a viewer window on the file and returns at once; the window deletes itself when
    // closed. A parent window takes its viewers with it when it goes.
    static TextFileViewer* open(const QString& path, QWidget* parent);

    QString path() const { return path_; }
    // The text shown, or empty when the file could not be read.
    QString text() const;
    // Why the file could not be read, or empty.
    QString problem() const;

    static constexpr const char* kOpenWithSystemText = "関連アプリで開く";
    static constexpr const char* kCloseText = "閉じる";

private:
    void openWithSystem();

    QString path_;
    QPlainTextEdit* text_ = nullptr;
    QLabel* problem_ = nullptr;
    QPushButton* openWithSystem_ = nullptr;
    bool readable_ = false;
};

}  // namespace fenta21::gui
