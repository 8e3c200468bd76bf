#include "gui/protocol/KeyboardModeDialog.h"

#include "core/base/Cp932.h"
#include "core/base/ListFollowing.h"
#include "core/app/KeyboardMode.h"
#include "gui/base/GuiInbox.h"
#include "gui/base/Text.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace fenta21::gui {
namespace {

// Enter belongs to the command field, so no button may take it as its default.
QPushButton* button(const QString& text, const QString& name, QWidget* parent) {
    auto* pushButton = new QPushButton(text, parent);
    pushButton->setObjectName(name);
    pushButton->setAutoDefault(false);
    pushButton->setDefault(false);
    return pushButton;
}

}  // namespace

KeyboardModeDialog::KeyboardModeDialog(Session& session, QWidget* parent)
    : QDialog(parent),
      session_(session),
      mode_(std::make_unique<KeyboardMode>(session, [this](const std::string& line) {
          // The receiver's thread: the list is changed on the window's own thread, and a line
          // still queued when the window has gone is dropped with it.
          postTo(this, [line](KeyboardModeDialog* dialog) { dialog->showReceived(line); });
      })) {
    setObjectName("keyboardModeDialog");
    setWindowTitle(kTitle);

    command_ = new QComboBox(this);
    command_->setObjectName("commandField");
    command_->setEditable(true);
    // A sent text is not added to the list: the list is the fixed set of commands.
    command_->setInsertPolicy(QComboBox::NoInsert);
    // The line goes out exactly as typed: a completion from the list would turn "CONNECT"
    // into "connect" or "time" into "time=" (a clock write without a value).
    command_->setCompleter(nullptr);
    command_->setMinimumWidth(240);
    for (const std::string& preset : keyboardPresetCommands()) command_->addItem(qs(preset));
    command_->setCurrentIndex(0);

    auto* send = button(QStringLiteral("送信"), "sendButton", this);
    auto* ack = button(QStringLiteral("ACK"), "ackButton", this);
    auto* nak = button(QStringLiteral("NAK"), "nakButton", this);
    auto* can = button(QStringLiteral("CAN"), "canButton", this);
    auto* close = button(QStringLiteral("終了"), "closeButton", this);
    received_ = new QListWidget(this);
    received_->setObjectName("receivedList");
    received_->setSelectionMode(QAbstractItemView::SingleSelection);
    received_->setMinimumHeight(160);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("送信文字列："), this), 0, 0);
    layout->addWidget(command_, 0, 1);
    layout->addWidget(send, 0, 2);
    auto* controls = new QHBoxLayout;
    controls->addWidget(ack);
    controls->addWidget(nak);
    controls->addWidget(can);
    controls->addStretch();
    layout->addLayout(controls, 1, 1, 1, 2);
    layout->addWidget(received_, 2, 0, 1, 3);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(close);
    layout->addLayout(bottom, 3, 0, 1, 3);

    connect(send, &QPushButton::clicked, this, [this] { sendTyped(false); });
    connect(ack, &QPushButton::clicked, this, [this] { mode_->sendAck(); });
    connect(nak, &QPushButton::clicked, this, [this] { mode_->sendNak(); });
    connect(can, &QPushButton::clicked, this, [this] { mode_->sendCan(); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

KeyboardModeDialog::~KeyboardModeDialog() {
    // The receiver must be gone before the window it posts to.
    mode_->close();
}

void KeyboardModeDialog::run() {
    if (!mode_->open(savedDirectPort(session_))) return;
    command_->setFocus();
    exec();
    // Stops the receiver, waits the second the program always has, and closes a port the
    // mode opened itself.
    mode_->close();
}

void KeyboardModeDialog::keyPressEvent(QKeyEvent* event) {
    // Enter sends wherever the focus is, as the window's invisible default button did;
    // Escape still closes the window through the dialog's own handling.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        sendTyped(true);
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void KeyboardModeDialog::sendTyped(bool byEnter) {
    // The line carries code page 932, like every text the logger keeps.
    mode_->send(utf8ToCp932(utf8(command_->currentText())));
    if (byEnter) command_->setFocus();
    // The text sent stays for sending again, selected so that the next typing replaces it.
    command_->lineEdit()->selectAll();
}

void KeyboardModeDialog::showReceived(const std::string& line) {
    QList<QListWidgetItem*> selected = received_->selectedItems();
    int selectedRow = selected.isEmpty() ? -1 : received_->row(selected.front());
    bool follow = selectionFollowsNewLine(selectedRow, received_->count());
    received_->addItem(qs(cp932ToUtf8(line)));
    if (follow) {
        received_->setCurrentRow(received_->count() - 1);
        received_->scrollToBottom();
    }
    command_->setFocus();
}

}  // namespace fenta21::gui
