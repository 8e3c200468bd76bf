#include "gui/base/StatusNotice.h"

#include "gui/base/ProgramIcon.h"

#include <QGridLayout>
#include <QLabel>

namespace fenta21::gui {

StatusNotice::StatusNotice(QWidget* parent) : QDialog(parent) {
    setObjectName("statusNotice");
    setWindowTitle(QStringLiteral("FENTA21(R)通信ソフト"));
    setWindowIcon(programIcon());
    // It tells, it takes nothing: the focus stays in the window the user works in.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setModal(false);
    auto* layout = new QGridLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(programIcon().pixmap(32, 32));
    layout->addWidget(icon, 0, 0);
    text_ = new QLabel(this);
    text_->setObjectName("text");
    text_->setMinimumWidth(240);
    layout->addWidget(text_, 0, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void StatusNotice::showText(const QString& text) {
    QString line = text.left(kMaxCharacters);
    line.replace('\n', ' ');
    text_->setText(line);
    show();
    raise();
    // The caller usually waits on this thread next (the hang-up's quiet time), so the text
    // is painted now rather than when the event loop next runs.
    repaint();
}

QString StatusNotice::text() const { return text_->text(); }

}  // namespace fenta21::gui
