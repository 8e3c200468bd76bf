#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <functional>

class QWidget;

namespace fenta21::test {

// Watches for modal windows from a zero-delay timer, the way a person would see them open,
// and answers each new one once with the handler. By default a message box is confirmed
// with its first button and every other window is left to end by itself.
class ModalWatcher : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(QWidget* window)>;
    explicit ModalWatcher(Handler handler = {});

    // The object names of the modal windows seen, in the order they opened.
    QStringList windows() const { return windows_; }
    // The texts of the message boxes seen.
    QStringList messages() const { return messages_; }

    static void confirmMessageBox(QWidget* window);

private:
    void look();

    Handler handler_;
    QTimer timer_;
    QList<QPointer<QWidget>> known_;
    QStringList windows_;
    QStringList messages_;
};

// Clicks the button of `window` that shows `text`; false when there is none.
bool clickButton(QWidget* window, const QString& text);

}  // namespace fenta21::test
