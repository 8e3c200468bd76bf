#include "gui/app/AboutBox.h"

#include "core/app/Launchers.h"
#include "core/base/Files.h"
#include "gui/base/ProgramIcon.h"
#include "gui/base/Text.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace fenta21::gui {
namespace {

QLabel* label(const QString& text, const char* name, QWidget* parent) {
    auto* shown = new QLabel(text, parent);
    shown->setObjectName(name);
    return shown;
}

}  // namespace

AboutBox::AboutBox(const std::string& homeFolder, QWidget* parent) : QDialog(parent) {
    setObjectName("aboutBox");
    setWindowTitle(kTitle);
    setWindowIcon(programIcon());

    auto* icon = new QLabel(this);
    icon->setObjectName("icon");
    icon->setPixmap(programIcon().pixmap(32, 32));
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setObjectName("okButton");

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 4, 1, Qt::AlignTop);
    layout->addWidget(label(kProgramName, "programName", this), 0, 1);
    layout->addWidget(label(kVersion, "version", this), 1, 1);
    layout->addWidget(label(kAboutFixedDate, "fixedDate", this), 2, 1);
    // The date of the program file as it lies in the home folder, not when it was built.
    std::string programTime = modificationTimeText(joinPath(homeFolder, kAboutProgramFile));
    layout->addWidget(label(qs(programTime), "programTime", this), 3, 1);
    layout->addWidget(buttons, 0, 2, 4, 1, Qt::AlignTop);
    layout->setColumnMinimumWidth(1, 200);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

void AboutBox::run(const std::string& homeFolder, QWidget* parent) {
    AboutBox box(homeFolder, parent);
    box.exec();
}

}  // namespace fenta21::gui
