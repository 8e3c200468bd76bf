#pragma once

#include "core/datafile/RecordPage.h"

#include <QDialog>

#include <string>

class QLineEdit;
class QPushButton;
class QTreeView;

namespace fenta21 {
class Session;
}

namespace fenta21::gui {

class HeaderListModel;
class RecordListModel;

// "バイナリデータ表示": one data file as two lists, its header items on the left and a page of
// 2048 records on the right. "選択" picks another data file, "<<前項" and "次項>>" turn the
// pages, "終了" closes. The window only reads the file; what it shows comes from the core,
// and what goes wrong is told through the session's report.
class DataFileViewerDialog : public QDialog {
    Q_OBJECT
public:
    explicit DataFileViewerDialog(Session& session, QWidget* parent = nullptr);

    static constexpr const char* kTitle = "バイナリデータ表示";

    // Shows `dataFile` from its first page, the last page not yet known.
    void showFile(const std::string& dataFile);

    const std::string& file() const { return file_; }
    const RecordPaging& paging() const { return paging_; }

private:
    void chooseFile();
    void previousPage();
    void nextPage();
    void showPage();
    void updateButtons();

    Session& session_;
    std::string file_;
    RecordPaging paging_;
    QLineEdit* fileName_;
    HeaderListModel* headerModel_;
    RecordListModel* recordModel_;
    QTreeView* headerView_;
    QTreeView* recordView_;
    QPushButton* previous_;
    QPushButton* next_;
};

}  // namespace fenta21::gui
