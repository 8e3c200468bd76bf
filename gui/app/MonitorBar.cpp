#include "gui/app/MonitorBar.h"

#include "core/app/MonitorTrace.h"
#include "core/session/Session.h"
#include "core/base/ListFollowing.h"
#include "gui/base/FixedPitchFont.h"
#include "gui/base/Text.h"

#include <QFontDatabase>
#include <QListView>
#include <QVBoxLayout>

namespace fenta21::gui {
namespace {

// 0x7F has no glyph of its own in the fixed-pitch fonts; the list shows the half-width
// middle dot in its place (one column, like every other character byte) and keeps the byte
// itself in the exact text.
QString shownText(const QString& exact) {
    QString shown = exact;
    shown.replace(QChar(0x7F), QChar(0xFF65));
    return shown;
}

}  // namespace

int MonitorLines::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

QVariant MonitorLines::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const QString& line = lines_[static_cast<std::size_t>(index.row())];
    if (role == Qt::DisplayRole) return shownText(line);
    if (role == kExactTextRole) return line;
    return {};
}

void MonitorLines::apply(const MonitorListEdit& edit) {
    int rows = rowCount();
    if (edit.replaceLastBlock && rows >= 4) {
        beginRemoveRows(QModelIndex(), rows - 4, rows - 1);
        lines_.erase(lines_.end() - 4, lines_.end());
        endRemoveRows();
    }
    if (!edit.appended.empty()) {
        rows = rowCount();
        beginInsertRows(QModelIndex(), rows, rows + static_cast<int>(edit.appended.size()) - 1);
        for (const auto& line : edit.appended) lines_.push_back(qs(line));
        endInsertRows();
    }
    std::size_t dropped = std::min(edit.droppedFromStart, lines_.size());
    if (dropped != 0) {
        beginRemoveRows(QModelIndex(), 0, static_cast<int>(dropped) - 1);
        lines_.erase(lines_.begin(), lines_.begin() + static_cast<std::ptrdiff_t>(dropped));
        endRemoveRows();
    }
}

MonitorBar::MonitorBar(QWidget* parent) : QWidget(parent), trace_(std::make_unique<MonitorTrace>()) {
    setObjectName("monitorBar");
    lines_ = new MonitorLines(this);
    list_ = new QListView(this);
    list_->setObjectName("monitorList");
    list_->setModel(lines_);
    // Every column pair lines up under its prefix.
    list_->setFont(fixedPitchFont());
    list_->setUniformItemSizes(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(list_);
}

MonitorBar::~MonitorBar() = default;

void MonitorBar::refresh(Session& session) {
    TTYInfo* channel = session.channel();
    if (channel == nullptr) return;
    int rows = lines_->rowCount();
    MonitorListEdit edit;
    if (!trace_->update(channel->capture, session.line.state(), static_cast<std::size_t>(rows), edit)) return;
    QModelIndexList selected = list_->selectionModel()->selectedRows();
    bool follow = selectionFollowsNewLine(selected.size() == 1 ? selected.front().row() : -1, rows);
    lines_->apply(edit);
    if (follow && lines_->rowCount() > 0) {
        QModelIndex last = lines_->index(lines_->rowCount() - 1);
        list_->selectionModel()->setCurrentIndex(last, QItemSelectionModel::ClearAndSelect);
        list_->scrollTo(last);
    }
}

void MonitorBar::opened() { trace_->rewindLog(); }

void MonitorBar::closed(const std::string& comLogPath) { writeComLog(comLogPath, trace_->closeLog()); }

}  // namespace fenta21::gui
