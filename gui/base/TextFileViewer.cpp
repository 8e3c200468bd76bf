#include "gui/base/TextFileViewer.h"

#include "core/base/Files.h"
#include "core/base/ViewerText.h"
#include "gui/base/FixedPitchFont.h"
#include "gui/base/ProgramIcon.h"
#include "gui/base/Text.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QUrl>
#include <QVBoxLayout>

namespace fenta21::gui {

TextFileViewer::TextFileViewer(const QString& path, QWidget* parent) : QWidget(parent, Qt::Window), path_(path) {
    setObjectName("textFileViewer");
    setWindowTitle(QFileInfo(path).fileName());
    setWindowIcon(programIcon());

    text_ = new QPlainTextEdit(this);
    text_->setObjectName("text");
    text_->setReadOnly(true);
    text_->setFont(fixedPitchFont(10));
    // CSV records and log lines are read across; wrapping would break their columns.
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    problem_ = new QLabel(this);
    problem_->setObjectName("problem");
    problem_->setWordWrap(true);
    problem_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    openWithSystem_ = new QPushButton(QString::fromUtf8(kOpenWithSystemText), this);
    openWithSystem_->setObjectName("openWithSystemButton");
    auto* close = new QPushButton(QString::fromUtf8(kCloseText), this);
    close->setObjectName("closeButton");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(openWithSystem_);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(problem_);
    layout->addWidget(text_, 1);
    layout->addLayout(buttons);

    FileContent content = readRegularFile(utf8(path));
    readable_ = content.bytes.has_value();
    if (readable_) {
        text_->setPlainText(qs(viewerText(*content.bytes)));
        problem_->hide();
    } else {
        problem_->setText(QStringLiteral("ファイルを表示できません: %1\n(%2)").arg(path, qs(content.problem)));
        text_->hide();
        // There is nothing the desktop could open either.
        openWithSystem_->setEnabled(false);
    }
    resize(720, 480);

    connect(openWithSystem_, &QPushButton::clicked, this, &TextFileViewer::openWithSystem);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    // Escape closes it, as it closes every dialog of the program.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

TextFileViewer* TextFileViewer::open(const QString& path, QWidget* parent) {
    auto* viewer = new TextFileViewer(path, parent);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    return viewer;
}

QString TextFileViewer::text() const { return readable_ ? text_->toPlainText() : QString(); }

QString TextFileViewer::problem() const { return problem_->text(); }

void TextFileViewer::openWithSystem() {
    // Failing to find an application is not reported, as with every program the viewer starts.
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path_).absoluteFilePath()));
}

}  // namespace fenta21::gui
