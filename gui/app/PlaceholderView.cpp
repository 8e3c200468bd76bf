#include "gui/app/PlaceholderView.h"

#include "core/app/CommandTable.h"

#include <QKeyEvent>
#include <QPainter>

namespace fenta21::gui {

PlaceholderView::PlaceholderView(std::function<void(int)> functionKeyReleased, QWidget* parent)
    : QWidget(parent), functionKeyReleased_(std::move(functionKeyReleased)) {
    setObjectName("view");
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
}

void PlaceholderView::keyReleaseEvent(QKeyEvent* event) {
    int key = event->key();
    if (!event->isAutoRepeat() && key >= Qt::Key_F1 && key <= Qt::Key_F9) {
        functionKeyReleased_(kKeyF1 + (key - Qt::Key_F1));
        event->accept();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void PlaceholderView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0, 64, 64));
}

}  // namespace fenta21::gui
