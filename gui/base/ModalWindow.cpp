#include "gui/base/ModalWindow.h"

#include "gui/base/CopyAnimation.h"
#include "gui/base/ProgramIcon.h"
#include "gui/base/Text.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace fenta21::gui {
namespace {

const char* windowName(ModalKind kind) {
    switch (kind) {
        case ModalKind::Wait: return kWaitWindowName;
        case ModalKind::Connection: return kConnectionWindowName;
        case ModalKind::Collection: return kCollectionWindowName;
    }
    return kWaitWindowName;
}

}  // namespace

ModalWindow::ModalWindow(const ModalSpec& spec, std::atomic<int>& cancelFlag, QWidget* parent)
    : QDialog(parent), cancelFlag_(cancelFlag) {
    setObjectName(windowName(spec.kind));
    setWindowTitle(qs(spec.caption));
    setWindowIcon(programIcon());
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    if (spec.kind == ModalKind::Collection) {
        animation_ = new CopyAnimation(this);
        layout->addWidget(animation_);
        progress_ = new QProgressBar(this);
        progress_->setRange(0, 100);
        progress_->setValue(0);
        progress_->setTextVisible(false);
        layout->addWidget(progress_);
    }
    text_ = new QLabel(qs(spec.text), this);
    text_->setObjectName("text");
    text_->setMinimumWidth(260);
    layout->addWidget(text_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    cancel_ = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancel_->setObjectName("cancel");
    cancel_->setAutoDefault(false);
    buttons->addWidget(cancel_);
    buttons->addStretch();
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cancel_, &QPushButton::clicked, this, &ModalWindow::reject);
}

void ModalWindow::finish(int result) {
    finished_ = true;
    done(result);
}

void ModalWindow::showText(const QString& text) { text_->setText(text); }

void ModalWindow::showProgress(int percent) {
    if (progress_) progress_->setValue(std::clamp(percent, 0, 100));
}

void ModalWindow::startAnimation() {
    if (animation_) animation_->start();
}

void ModalWindow::reject() { cancelFlag_.store(kCancelled); }

void ModalWindow::closeEvent(QCloseEvent* event) {
    if (finished_) {
        event->accept();
        return;
    }
    event->ignore();
    reject();
}

}  // namespace fenta21::gui
