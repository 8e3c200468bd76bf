#include "tests/gui/ModalWatcher.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

namespace fenta21::test {

ModalWatcher::ModalWatcher(Handler handler) : handler_(std::move(handler)) {
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, &ModalWatcher::look);
    timer_.start();
}

void ModalWatcher::look() {
    QWidget* window = QApplication::activeModalWidget();
    if (window == nullptr) return;
    for (const auto& seen : known_)
        if (seen == window) return;
    known_.append(window);
    windows_ << window->objectName();
    if (auto* box = qobject_cast<QMessageBox*>(window)) messages_ << box->text();
    if (handler_) handler_(window);
    else confirmMessageBox(window);
}

void ModalWatcher::confirmMessageBox(QWidget* window) {
    auto* box = qobject_cast<QMessageBox*>(window);
    if (box == nullptr || box->buttons().isEmpty()) return;
    QMetaObject::invokeMethod(box->buttons().front(), &QAbstractButton::click, Qt::QueuedConnection);
}

bool clickButton(QWidget* window, const QString& text) {
    for (auto* button : window->findChildren<QAbstractButton*>()) {
        if (button->text() == text) {
            QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
            return true;
        }
    }
    return false;
}

}  // namespace fenta21::test
