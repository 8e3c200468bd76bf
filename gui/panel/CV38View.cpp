#include "gui/panel/CV38View.h"

#include "core/app/CommandTable.h"
#include "core/session/Session.h"
#include "core/panel/PanelLayout.h"
#include "core/panel/PanelSession.h"
#include "gui/base/GuiInbox.h"
#include "gui/base/QtHost.h"
#include "gui/panel/PanelPicture.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QThread>
#include <QTimerEvent>

#include <algorithm>
#include <chrono>
#include <optional>

namespace fenta21::gui {
namespace {

using namespace std::chrono;

// The keys that stand for the panel's keys. "C" and "c" only by themselves: Ctrl+C is the
// edit copy.
std::optional<PanelKey> panelKeyOf(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return std::nullopt;
    switch (qtKey) {
        case Qt::Key_PageUp: return PanelKey::Previous;
        case Qt::Key_PageDown: return PanelKey::Next;
        case Qt::Key_Return:
        case Qt::Key_Enter: return PanelKey::Enter;
        case Qt::Key_C: return PanelKey::CollectionMenu;
        default: return std::nullopt;
    }
}

struct MenuEntry {
    const char* text;
    int command;
};
constexpr MenuEntry kCollectionEntries[] = {
    {"最新ﾃﾞｰﾀ回収", CommandId::kCollectNewOverLink},
    {"全ﾃﾞｰﾀ回収", CommandId::kCollectAllOverLink},
    {"ﾃｷｽﾄ形式回収", CommandId::kCollectTextOverLink},
};

}  // namespace

CV38View::CV38View(Session& session, PanelDialogs& dialogs, std::function<void(int)> functionKeyReleased,
                   std::function<void(int)> runCommand, QWidget* parent)
    : QWidget(parent),
      session_(session),
      functionKeyReleased_(std::move(functionKeyReleased)),
      runCommand_(std::move(runCommand)) {
    setObjectName("view");
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);

    // The workers ask for a redraw from their own threads: the view repaints on its own.
    PanelEvents events;
    events.redraw = [this] { redrawLater(); };
    events.collectionMenu = [this] {
        postTo(this, [](CV38View* view) { view->openCollectionMenu(); });
    };
    panel_ = std::make_unique<PanelSession>(session_, dialogs, std::move(events));

    collectionMenu_ = new QMenu(this);
    collectionMenu_->setObjectName("collectionMenu");
    for (const MenuEntry& entry : kCollectionEntries) {
        QAction* item = collectionMenu_->addAction(QString::fromUtf8(entry.text));
        item->setProperty("command", entry.command);
        const int command = entry.command;
        // Run once the menu has closed: the collection opens windows of its own.
        connect(item, &QAction::triggered, this, [this, command] {
            collectionMenu_->hide();
            QMetaObject::invokeMethod(this, [this, command] { runCommand_(command); }, Qt::QueuedConnection);
        });
    }

    auto period = duration_cast<milliseconds>(session_.clock.scaled(milliseconds(PanelSession::kTickMilliseconds)));
    tickMilliseconds_ = std::max(1, static_cast<int>(period.count()));
    timerId_ = startTimer(tickMilliseconds_);
    if (timerId_ == 0)
        QMessageBox::warning(this, QtHost::kMessageCaption, QStringLiteral("タイマー作成エラー"));
}

CV38View::~CV38View() { shutDown(); }

void CV38View::startSession() {
    panel_->start();
    update();
}

bool CV38View::endSession() {
    panel_->end();
    update();
    return panel_->holdsLine();
}

void CV38View::shutDown() {
    panel_->end();
    // A worker may be waiting for this thread to show it a window; the closing host answers
    // such a request at once, so the workers finish while the events run.
    while (panel_->workersRunning()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    panel_->shutDown();
    update();
}

void CV38View::keyCommand(PanelKey key) {
    // The release that ends the press must come here, wherever the focus was.
    setFocus();
    panel_->pressKey(key);
}

void CV38View::redrawLater() {
    postTo(this, [](CV38View* view) { view->update(); });
}

void CV38View::openCollectionMenu() {
    const PanelPoint corner = PanelLayout::kCollectionMenuCorner;
    collectionMenu_->popup(mapToGlobal(QPoint(corner.x, corner.y)));
}

void CV38View::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PanelSnapshot snapshot = panel_->snapshot();
    drawnActive_ = snapshot.active;
    drawPanel(painter, size(), snapshot);
}

void CV38View::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    const QPoint at = event->position().toPoint();
    if (auto key = panelKeyAt(at.x(), at.y())) panel_->pressKey(*key);
    event->accept();
}

void CV38View::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
    panel_->releaseKey();
    event->accept();
}

void CV38View::keyPressEvent(QKeyEvent* event) {
    auto key = panelKeyOf(event->key(), event->modifiers());
    if (!key) return QWidget::keyPressEvent(event);
    // A key held down repeats through the session's own auto-repeat, not the keyboard's.
    if (!event->isAutoRepeat()) panel_->pressKey(*key);
    event->accept();
}

void CV38View::keyReleaseEvent(QKeyEvent* event) {
    if (event->isAutoRepeat()) return event->accept();
    const int key = event->key();
    if (key >= Qt::Key_F1 && key <= Qt::Key_F9) {
        functionKeyReleased_(kKeyF1 + (key - Qt::Key_F1));
        if (panel_->active()) panel_->releaseKey();
        return event->accept();
    }
    if (panelKeyOf(key, event->modifiers())) {
        if (panel_->active()) panel_->releaseKey();
        return event->accept();
    }
    QWidget::keyReleaseEvent(event);
}

void CV38View::focusOutEvent(QFocusEvent* event) {
    // A key let go elsewhere never reaches the view: without this it would repeat forever.
    // A dialog the key opened takes the focus while the key is still held, which is the
    // same as letting it go.
    if (panel_->pressedKey() >= 0) panel_->releaseKey();
    QWidget::focusOutEvent(event);
}

void CV38View::timerEvent(QTimerEvent* event) {
    if (event->timerId() != timerId_) return QWidget::timerEvent(event);
    panel_->tick();
    // The session can end between the redraws it asks for; the look follows at once.
    if (panel_->active() != drawnActive_) update();
}

}  // namespace fenta21::gui
