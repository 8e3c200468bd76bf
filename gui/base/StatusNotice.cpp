#include "gui/base/StatusNotice.h"

#include "gui/base/ProgramIcon.h"

#include <QHBoxLayout>
#include <QLabel>

namespace fenta21::gui {

StatusNotice::StatusNotice(QWidget* parent) : QDialog(parent) {
    setObjectName("statusNotice");
    setWindowTitle(QStringLiteral("FENTA21(R)通信ソフト"));
    setWindowIcon(programIcon());
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(false);
    auto* layout = new QHBoxLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(programIcon().pixmap(32, 32));
    layout->addWidget(icon);
    text_ = new QLabel(this);
    text_->setObjectName("text");
    text_->setMinimumWidth(240);
    layout->addWidget(text_);
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
