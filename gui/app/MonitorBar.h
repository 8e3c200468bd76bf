#pragma once

#include <QAbstractListModel>
#include <QWidget>

#include <deque>
#include <memory>
#include <string>

class QListView;

namespace fenta21 {
class MonitorTrace;
class Session;
struct MonitorListEdit;
}

namespace fenta21::gui {

// The monitor's lines. Rows change only at the end and the start, so a view of 4000 lines
// repaints just what it shows.
class MonitorLines : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    // The line exactly as formatted, with 0x7F where a byte has no character of its own.
    static constexpr int kExactTextRole = Qt::UserRole;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    void apply(const MonitorListEdit& edit);

private:
    std::deque<QString> lines_;
};

// The bar at the bottom of the main window: every byte to and from the logger as blocks of
// characters over hex. It follows the last line unless the user selected an earlier one.
class MonitorBar : public QWidget {
    Q_OBJECT
public:
    explicit MonitorBar(QWidget* parent = nullptr);
    ~MonitorBar() override;

    // One heartbeat tick while the monitor is shown.
    void refresh(Session& session);
    // Opening starts the memory log afresh; closing writes it to com.log, silently when the
    // file cannot be written.
    void opened();
    void closed(const std::string& comLogPath);

    QListView* list() const { return list_; }
    MonitorLines* lines() const { return lines_; }

    static constexpr int kHeight = 223;

private:
    // The meta-object compiler cannot read the core's headers, so the formatting is held apart.
    std::unique_ptr<MonitorTrace> trace_;
    MonitorLines* lines_;
    QListView* list_;
};

}  // namespace fenta21::gui
