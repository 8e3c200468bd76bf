#include "gui/base/WindowPlacement.h"

#include "gui/base/Captions.h"

#include <QApplication>
#include <QBoxLayout>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QScreen>
#include <QScrollArea>
#include <QSpacerItem>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace fenta21::gui {
namespace {

// A zero-height item as wide as the caption needs: the layout counts its width in its
// minimum and size hint, and no spacing is added for it, as it is empty.
QSpacerItem* captionStrut(int width) { return new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed); }

void holdCaptionWidth(QWidget* window) {
    // A window polished again (a new style) already has its strut.
    if (window->property("captionHeld").toBool()) return;
    window->setProperty("captionHeld", true);
    int need = captionWidth(window->windowTitle());
    QLayout* layout = window->layout();
    if (layout == nullptr) {
        window->setMinimumWidth(std::max(window->minimumWidth(), need));
        return;
    }
    QMargins around = layout->contentsMargins() + window->contentsMargins();
    int inside = need - around.left() - around.right();
    if (auto* grid = qobject_cast<QGridLayout*>(layout))
        grid->addItem(captionStrut(inside), grid->rowCount(), 0, 1, std::max(1, grid->columnCount()));
    else if (auto* form = qobject_cast<QFormLayout*>(layout)) form->addItem(captionStrut(inside));
    else if (auto* box = qobject_cast<QBoxLayout*>(layout);
             box && (box->direction() == QBoxLayout::TopToBottom || box->direction() == QBoxLayout::BottomToTop))
        box->addStrut(inside);
    else window->setMinimumWidth(std::max(window->minimumWidth(), need));
}

// The window's contents move into a scroll area that fills it.
void scrollContents(QWidget* window) {
    QLayout* layout = window->layout();
    if (layout == nullptr) return;
    auto* contents = new QWidget;
    contents->setObjectName("scrolledContents");
    // Takes the layout over, with the widgets it arranges.
    contents->setLayout(layout);
    auto* area = new QScrollArea(window);
    area->setObjectName("windowScrollArea");
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(contents);
    auto* outer = new QVBoxLayout(window);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(area);
    outer->activate();
}

}  // namespace

QWidget* frontWindow(QWidget* fallback, const QWidget* except) {
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != except) return modal;
    if (QWidget* active = QApplication::activeWindow(); active && active != except && !active->isHidden()) {
        Qt::WindowType type = active->windowType();
        if (type == Qt::Window || type == Qt::Dialog) return active;
    }
    return fallback;
}

void keepAbove(QWidget* notice, QWidget* owner) {
    // Only the window system's tie: as the owner's child the notice would go with a dialog
    // that closes, and be greyed with one disabled while its work runs.
    notice->winId();
    QWindow* over = owner != nullptr ? owner->window()->windowHandle() : nullptr;
    if (notice->windowHandle()->transientParent() != over) notice->windowHandle()->setTransientParent(over);
}

QPoint centredOver(const QRect& over, const QSize& size, const QRect& available) {
    QPoint corner = over.center() - QPoint(size.width() / 2, size.height() / 2);
    corner.setX(std::max(available.left(), std::min(corner.x(), available.right() + 1 - size.width())));
    corner.setY(std::max(available.top(), std::min(corner.y(), available.bottom() + 1 - size.height())));
    return corner;
}

WindowPlacement::WindowPlacement(QObject* parent) : QObject(parent) { qApp->installEventFilter(this); }

bool WindowPlacement::placed(const QWidget* window) const {
    if (!window->isWindow() || window == mainWindow_.data()) return false;
    Qt::WindowType type = window->windowType();
    return type == Qt::Window || type == Qt::Dialog || type == Qt::Sheet;
}

bool WindowPlacement::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Polish && event->type() != QEvent::Show) return false;
    if (!watched->isWidgetType()) return false;
    auto* window = static_cast<QWidget*>(watched);
    if (!placed(window)) return false;
    if (event->type() == QEvent::Polish) {
        // Once, before its first layout: the strut is then part of every size it takes.
        holdCaptionWidth(window);
        return false;
    }
    // A window the user brings back (from the taskbar) stays where it was.
    if (event->spontaneous()) return false;
    QWidget* over = mainWindow_ && mainWindow_->isVisible() ? mainWindow_.data() : nullptr;
    QScreen* screen = over ? over->screen() : window->screen();
    if (screen == nullptr) return false;
    QRect available = screen->availableGeometry();
    fitToScreen(window, available);
    QRect target = over ? over->frameGeometry() : available;
    QSize framed = window->size() + QSize(kFrameWidthAllowance, kFrameHeightAllowance);
    window->move(centredOver(target, framed, available));
    return false;
}

void WindowPlacement::fitToScreen(QWidget* window, const QRect& available) const {
    QSize room = available.size() - QSize(kFrameWidthAllowance, kFrameHeightAllowance);
    QSize least = window->minimumSize().expandedTo(window->minimumSizeHint());
    if (least.width() > room.width() || least.height() > room.height()) {
        scrollContents(window);
        window->setMinimumSize(window->minimumSize().boundedTo(room));
    }
    if (window->width() > room.width() || window->height() > room.height())
        window->resize(window->size().boundedTo(room));
}

}  // namespace fenta21::gui
