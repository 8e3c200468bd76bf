#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>

class QWidget;

namespace fenta21::gui {

// Where the program's windows open and how large, for every dialog and window it shows (its
// own, the message boxes and Qt's file dialogs alike), the main window, menus and pop-ups
// excepted:
// - each is at least as wide as its caption needs (a window manager cuts a caption that does
//   not fit), by a strut in its layout, so that a fixed-size dialog keeps its fixed size;
// - each opens centred over the main window, within the screen, rather than where the window
//   manager would put a window without a place (a corner of the screen);
// - one larger than the screen is fitted to it, its contents scrolling where they cannot
//   shrink (a scaled screen, QT_SCALE_FACTOR=2 on 1280 pixels).
// One object watches the application's windows as they are polished and shown.
class WindowPlacement : public QObject {
    Q_OBJECT
public:
    explicit WindowPlacement(QObject* parent = nullptr);

    // The window the others are centred over; none: the screen.
    void setMainWindow(QWidget* window) { mainWindow_ = window; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool placed(const QWidget* window) const;
    void fitToScreen(QWidget* window, const QRect& available) const;

    QPointer<QWidget> mainWindow_;
};

// The program's window in front: the modal window that is up, else the active window (one of
// the program's own), else `fallback`; never `except`.
QWidget* frontWindow(QWidget* fallback, const QWidget* except = nullptr);
// Ties the notice window to `owner` as its transient, so that the window manager keeps it
// above `owner` even when it opens without taking the focus; the notice stays the widget
// of whoever made it.
void keepAbove(QWidget* notice, QWidget* owner);

// The top-left corner that centres a window of `size` over `over`, moved into `available`
// as far as the window fits there.
QPoint centredOver(const QRect& over, const QSize& size, const QRect& available);

// Room the window manager's frame takes around a window (title bar and borders), which is
// not known before the window is mapped.
inline constexpr int kFrameWidthAllowance = 8;
inline constexpr int kFrameHeightAllowance = 36;

}  // namespace fenta21::gui
