#pragma once

#include <QImage>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <map>
#include <vector>

class QWidget;

namespace fenta21::gui {
class DesktopProgram;
}

namespace fenta21::screenshots {

// Walks through the desktop program's windows the way a person would open them and saves a
// picture of each into a folder. The program runs as it does for a user, on the display and
// against the simulated logger; only the clicks come from here. Every window that opens is
// pictured once it has had time to paint, then answered: by its own answer when the tour gave
// it one, else closed the way Escape would (the windows of long operations end by themselves).
class ScreenshotTour : public QObject {
    Q_OBJECT
public:
    ScreenshotTour(gui::DesktopProgram& program, QString folder);

    // Runs every step, then quits the application with 0, or 1 when a window did not appear.
    void run();

private:
    using Answer = std::function<void(QWidget* window)>;

    void look();
    void lookAtNotice(QWidget* window);
    void picture(QWidget* window, const QString& name);
    void save(const QImage& image, const QString& name);
    void answer(QWidget* window);
    void pause(int milliseconds);
    void trigger(int command);
    // Waits for a window of that name to have been pictured.
    void expect(const QString& name);

    void keyboardModeAnswer(QWidget* window);
    // A panel key pressed and let go, and the panel's worker done with it.
    void panelKey(int key);
    // Walks the panel of the logger that is linked through its items: the banner, BATT,
    // and at each item of `enterAt` the enter key (its dialog or its sub-list).
    void walkPanel(const QString& tag, const std::vector<int>& enterAt);
    void manualLinkTo(int portIndex);
    // The remote-station windows over an address book, a list and reservations typed in.
    void remoteStationWindows();
    // Selects the first row of `list` in `window` and clicks the button named `button`, once
    // the watcher has returned (the button may open a window of its own), then ends `window`
    // with the button named `close`.
    // Runs `steps` in `window` once the watcher has returned from it.
    void runInWindow(QWidget* window, std::function<void(QWidget*)> steps);
    void openFromRow(QWidget* window, const QString& list, const QString& button, const QString& close);
    // The CF card window over a card image: as it opens, its warning, its message, and with
    // the sizes the format left.
    void cfCardWindow();

    gui::DesktopProgram& program_;
    QString folder_;
    int count_ = 0;
    QTimer watch_;
    QList<QPointer<QWidget>> seen_;
    std::map<QWidget*, qint64> firstSeen_;
    std::map<QString, Answer> answers_;
    // The file a file dialog is answered with; none: the dialog is cancelled.
    QString fileToChoose_;
    QStringList pictured_;
    // The text each notice window was last pictured with.
    QMap<QWidget*, QString> noticesPictured_;
    QStringList missing_;
};

}  // namespace fenta21::screenshots
