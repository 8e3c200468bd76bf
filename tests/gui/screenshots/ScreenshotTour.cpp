#include "tests/gui/screenshots/ScreenshotTour.h"

#include "tests/gui/screenshots/WindowCaption.h"

#include "core/app/CommandTable.h"
#include "core/base/Host.h"
#include "core/protocol/CommandExchange.h"
#include "gui/app/DesktopProgram.h"
#include "core/panel/PanelItems.h"
#include "core/panel/PanelSession.h"
#include "gui/base/Captions.h"
#include "gui/base/ModalWindow.h"
#include "gui/base/StatusNotice.h"
#include "gui/panel/CV38View.h"
#include "gui/remote/ReservationNotice.h"
#include "gui/util/CfCardSetup.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QEventLoop>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

namespace fenta21::screenshots {
namespace {

// A window is pictured once it has painted; the windows that end by themselves sooner.
constexpr int kSettleMilliseconds = 500;
constexpr int kBriefSettleMilliseconds = 150;
constexpr int kPatienceMilliseconds = 60000;

bool endsByItself(const QString& name) {
    return name == gui::kWaitWindowName || name == gui::kConnectionWindowName ||
           name == gui::kCollectionWindowName || name == "statusNotice";
}

void clickButton(QWidget* window, const QString& text) {
    for (auto* button : window->findChildren<QAbstractButton*>())
        if (button->text() == text) {
            button->click();
            return;
        }
}

// The text a notice window shows, or nothing when the window is no notice.
std::optional<QString> noticeText(QWidget* window) {
    if (auto* notice = qobject_cast<gui::StatusNotice*>(window)) return notice->text();
    if (auto* notice = qobject_cast<gui::ReservationNotice*>(window)) return notice->text();
    return std::nullopt;
}

}  // namespace

ScreenshotTour::ScreenshotTour(gui::DesktopProgram& program, QString folder)
    : program_(program), folder_(std::move(folder)) {
    watch_.setInterval(50);
    connect(&watch_, &QTimer::timeout, this, &ScreenshotTour::look);
    answers_["keyboardModeDialog"] = [this](QWidget* window) { keyboardModeAnswer(window); };
}

void ScreenshotTour::look() {
    // A notice that has gone is pictured again when it comes back, even with the same text.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (auto notice = noticesPictured_.begin(); notice != noticesPictured_.end();) {
        bool shown = std::any_of(windows.begin(), windows.end(),
                                 [&](QWidget* window) { return window == notice.key() && window->isVisible(); });
        notice = shown ? std::next(notice) : noticesPictured_.erase(notice);
    }
    for (QWidget* window : windows) {
        if (!window->isVisible() || window == program_.frame.get() || qobject_cast<QMenu*>(window)) continue;
        lookAtNotice(window);
        if (seen_.contains(window)) continue;
        qint64 now = QDateTime::currentMSecsSinceEpoch();
        auto [first, added] = firstSeen_.emplace(window, now);
        int settle = endsByItself(window->objectName()) ? kBriefSettleMilliseconds : kSettleMilliseconds;
        if (now - first->second < settle) continue;
        seen_.append(window);
        picture(window, window->objectName());
        answer(window);
    }
}

void ScreenshotTour::lookAtNotice(QWidget* window) {
    // A notice is pictured each time it shows a new text, on the screen as it stands over the
    // window in front of the main window, so that the picture shows what the user sees.
    std::optional<QString> text = noticeText(window);
    if (!text || noticesPictured_.value(window) == *text) return;
    QWidget* under = QApplication::activeModalWidget();
    if (under == window || under == nullptr) under = program_.frame.get();
    QPointer<QWidget> notice(window), front(under);
    QString shown = *text;
    noticesPictured_[window] = shown;
    QTimer::singleShot(kBriefSettleMilliseconds, this, [this, notice, front, shown] {
        if (!notice || !notice->isVisible() || !front) return;
        QRect area = notice->frameGeometry().united(front->frameGeometry()).united(program_.frame->frameGeometry());
        QPixmap screen = notice->screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
        QString name = notice->objectName() + "-over-" + front->objectName();
        save(screen.toImage(), name);
    });
}

void ScreenshotTour::picture(QWidget* window, const QString& name) { save(withCaption(window), name); }

void ScreenshotTour::save(const QImage& image, const QString& name) {
    QString file = QString("%1/%2-%3.png").arg(folder_).arg(++count_, 2, 10, QChar('0')).arg(name);
    if (image.save(file)) {
        pictured_ << name;
        std::printf("%s\n", file.toLocal8Bit().constData());
    } else std::fprintf(stderr, "fenta21-screenshots: could not save %s\n", file.toLocal8Bit().constData());
    std::fflush(stdout);
}

void ScreenshotTour::answer(QWidget* window) {
    QString name = window->objectName();
    if (auto own = answers_.find(name); own != answers_.end()) {
        own->second(window);
        return;
    }
    if (endsByItself(name)) return;
    if (auto* files = qobject_cast<QFileDialog*>(window); files && !fileToChoose_.isEmpty()) {
        // The dialog leaves its name field alone while that field has the focus.
        if (QWidget* focused = files->focusWidget()) focused->clearFocus();
        files->selectFile(fileToChoose_);
        QMetaObject::invokeMethod(files, &QDialog::accept, Qt::QueuedConnection);
        return;
    }
    if (auto* box = qobject_cast<QMessageBox*>(window)) {
        if (!box->buttons().isEmpty()) box->buttons().back()->click();
    } else if (auto* dialog = qobject_cast<QDialog*>(window)) dialog->reject();
    else window->close();
}

void ScreenshotTour::pause(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void ScreenshotTour::trigger(int command) {
    QAction* action = program_.frame->action(command);
    if (action == nullptr || !action->isEnabled()) {
        std::fprintf(stderr, "fenta21-screenshots: command %d is not available\n", command);
        missing_ << QString("command %1").arg(command);
        return;
    }
    action->trigger();
}

void ScreenshotTour::expect(const QString& name) {
    QElapsedTimer waited;
    waited.start();
    while (!pictured_.contains(name) && waited.elapsed() < kPatienceMilliseconds) pause(50);
    if (!pictured_.contains(name)) {
        std::fprintf(stderr, "fenta21-screenshots: the window %s did not appear\n", name.toLocal8Bit().constData());
        missing_ << name;
    }
}

void ScreenshotTour::keyboardModeAnswer(QWidget* window) {
    // A command typed and sent, its reply in the list, then the window's own "終了".
    if (auto* field = window->findChild<QComboBox*>("commandField")) field->setEditText("rome");
    clickButton(window, QStringLiteral("送信"));
    QPointer<QWidget> target(window);
    QTimer::singleShot(2000, this, [this, target] {
        if (!target) return;
        picture(target, target->objectName() + "-reply");
        clickButton(target, QStringLiteral("終了"));
    });
}

void ScreenshotTour::panelKey(int key) {
    auto& pending = program_.session.panel.pendingKey;
    auto waitForWorker = [&] {
        QElapsedTimer waited;
        waited.start();
        while (pending.load() != 0 && waited.elapsed() < kPatienceMilliseconds) pause(20);
    };
    waitForWorker();
    gui::CV38View* view = program_.frame->view();
    view->keyCommand(static_cast<PanelKey>(key));
    view->panel().releaseKey();
    waitForWorker();
    pause(700);
}

void ScreenshotTour::walkPanel(const QString& tag, const std::vector<int>& enterAt) {
    gui::CV38View* view = program_.frame->view();
    QElapsedTimer waited;
    waited.start();
    while (view->panel().currentItem() != PanelItem::kBanner && waited.elapsed() < kPatienceMilliseconds) pause(50);
    pause(2500);
    picture(program_.frame.get(), tag + "-banner");
    for (int step = 0; step < kPanelItemCount; ++step) {
        panelKey(static_cast<int>(PanelKey::Next));
        int item = view->panel().currentItem();
        if (item == PanelItem::kBatt) picture(program_.frame.get(), tag + "-batt");
        if (std::find(enterAt.begin(), enterAt.end(), item) != enterAt.end()) {
            panelKey(static_cast<int>(PanelKey::Enter));
            if (item == PanelItem::kData || item == PanelItem::kMode || item == PanelItem::kMonitor) {
                picture(program_.frame.get(), QString("%1-sublist-%2").arg(tag).arg(item));
                panelKey(static_cast<int>(PanelKey::Enter));  // closes it, or opens the channel's dialog
            }
        }
        if (item == PanelItem::kRomVersion) break;
    }
}

void ScreenshotTour::manualLinkTo(int portIndex) {
    answers_["manualLinkDialog"] = [portIndex](QWidget* window) {
        if (auto* ports = window->findChild<QComboBox*>("portList")) ports->setCurrentIndex(portIndex);
        clickButton(window, "OK");
    };
    trigger(CommandId::kManualLink);
    answers_.erase("manualLinkDialog");
}

void ScreenshotTour::runInWindow(QWidget* window, std::function<void(QWidget*)> steps) {
    // After the watcher has returned: the steps may wait in windows of their own.
    QPointer<QWidget> target(window);
    QTimer::singleShot(0, this, [target, steps = std::move(steps)] {
        if (target) steps(target);
    });
}

void ScreenshotTour::openFromRow(QWidget* window, const QString& list, const QString& button, const QString& close) {
    QPointer<QWidget> target(window);
    QTimer::singleShot(0, this, [target, list, button, close] {
        if (!target) return;
        if (auto* view = target->findChild<QAbstractItemView*>(list); view && view->model())
            view->setCurrentIndex(view->model()->index(0, 0));
        if (auto* open = target->findChild<QAbstractButton*>(button)) open->click();
        if (!target) return;
        if (auto* end = target->findChild<QAbstractButton*>(close)) end->click();
    });
}

void ScreenshotTour::remoteStationWindows() {
    Session& session = program_.session;
    session.addressBook.store(0, {"河辺観測所", "0311112222", "一号局", "KAWABE", "", "modem"});
    session.addressBook.store(1, {"山田川", "0322223333_1_2", "水位", "YAMADA", "", "modem"});
    session.addressBook.store(2, {"ﾃｽﾄ局", "", "直結", "TEST", "", "com"});
    session.reservations.replace({{{0, 0, 30}, 0}, {{0, 7, 0}, 1}, {{15, 13, 45}, 2}});
    std::string list;
    for (int station : {0, 1, 0}) {
        for (int byte = 0; byte < 4; ++byte) list.push_back(static_cast<char>((station >> (8 * byte)) & 0xFF));
    }
    std::FILE* file = std::fopen(session.homeFile("any.dat").c_str(), "wb");
    if (file != nullptr) {
        std::fwrite(list.data(), 1, list.size(), file);
        std::fclose(file);
    }

    answers_["addressBookDialog"] = [this](QWidget* window) {
        openFromRow(window, "stationList", "editButton", "cancelButton");
    };
    trigger(CommandId::kAddressBook);
    expect("stationEditor");
    // The modem (the simulated one on COM4) searched from COM4: its notices over the dialog.
    answers_["modemSettingsDialog"] = [this](QWidget* window) {
        runInWindow(window, [](QWidget* dialog) {
            if (auto* ports = dialog->findChild<QComboBox*>("portList")) ports->setCurrentIndex(3);
            clickButton(dialog, QStringLiteral("検索"));
            clickButton(dialog, QStringLiteral("ｷｬﾝｾﾙ"));
        });
    };
    trigger(CommandId::kModemSettings);
    answers_.erase("modemSettingsDialog");
    expect("statusNotice-over-modemSettingsDialog");
    trigger(CommandId::kRemoteLink);
    expect("stationChooser");
    // The list run through the modem: the stations' windows, and the hang-up's notice over
    // the list's window.
    session.settings.modemPortIndex = 3;
    session.settings.modemSpeedIndex = 5;
    answers_["arbitraryCollectionDialog"] = [this](QWidget* window) {
        runInWindow(window, [](QWidget* dialog) {
            clickButton(dialog, QStringLiteral("任意回収"));
            clickButton(dialog, QStringLiteral("終了"));
        });
    };
    trigger(CommandId::kArbitraryCollection);
    answers_.erase("arbitraryCollectionDialog");
    expect("statusNotice-over-arbitraryCollectionDialog");
    answers_["reservationWindow"] = [this](QWidget* window) {
        openFromRow(window, "reservationList", "timePropertiesButton", "closeButton");
    };
    trigger(CommandId::kReservation);
    expect("reservationTimeDialog");
    // A reserved collection's report raises the notice window on the next heartbeat.
    session.reports.reservationNotices.update(
        [](auto& notices) { notices.push_back("[002 山田川] 回線接続　エラー !!     "); });
    session.reports.noticeChanged.store(true);
    expect("reservationNotice");
}

void ScreenshotTour::cfCardWindow() {
    // A 128 MB card as an image file in the demo home folder, offered as a reader's disk and
    // its partition would be.
    std::string image = program_.session.homeFile("cfcard.img");
    { std::ofstream create(image, std::ios::binary); }
    std::error_code ec;
    std::filesystem::resize_file(image, 128000000, ec);
    program_.frame->cfCardSetup().listDrives = [image] {
        return std::vector<Drive>{{image, 128000000, "", true, "/dev/sdb  128 MB"},
                                  {image, 127991808, "FENTA21", true, "/dev/sdb1  128 MB  FENTA21"}};
    };
    answers_["cfCardDialog"] = [this](QWidget* window) {
        QPointer<QWidget> target(window);
        answers_["yesNoQuestion"] = [](QWidget* box) { clickButton(box, QStringLiteral("はい")); };
        // Clicked after this answer has returned: the format's own windows open meanwhile.
        QTimer::singleShot(0, this, [this, target] {
            if (!target) return;
            clickButton(target, QStringLiteral("フォーマット実行"));
            answers_.erase("yesNoQuestion");
            if (!target) return;
            picture(target, "cfCardDialog-formatted");
            clickButton(target, QStringLiteral("閉じる"));
        });
    };
    trigger(CommandId::kCfCard);
    expect("cfCardDialog-formatted");
    answers_.erase("cfCardDialog");
}

void ScreenshotTour::run() {
    watch_.start();
    auto* frame = program_.frame.get();
    pause(1000);
    picture(frame, "mainFrame-idle");

    // The direct collection: its search, its transfer, then the monitor of what went over the line.
    QTimer::singleShot(2500, this, [this, frame] { picture(frame, "mainFrame-collecting"); });
    trigger(CommandId::kDirectCollection);
    expect(gui::kCollectionWindowName);
    // The file it stored, for the file windows at the end (later collections may store none).
    const std::string dataFile = program_.session.line.lastDataFile.get();
    trigger(CommandId::kMonitor);
    pause(800);
    picture(frame, "mainFrame-monitor-after-collection");

    // The user's own link, the keyboard mode over it, and the way down.
    trigger(CommandId::kAutoLink);
    expect("statusNotice");
    pause(800);
    picture(frame, "mainFrame-linked-monitor");
    trigger(CommandId::kKeyboardMode);
    expect("keyboardModeDialog-reply");

    // The panel over that link (a wind logger), then over two more loggers for the dialogs
    // that only their families have: water level (Wave Canceler, Offset) and snow depth (Zero Set).
    using namespace PanelItem;
    walkPanel("panel-wind", {kMemo, kRtcAdjust, kData, kMode, kAfterStart, kPresetTimer, kInterval, kTime});
    trigger(CommandId::kDisconnect);
    pause(2000);
    picture(frame, "mainFrame-panel-ended");
    manualLinkTo(1);
    walkPanel("panel-level", {kWaveCanceler, kOffset});
    trigger(CommandId::kDisconnect);
    pause(2000);
    manualLinkTo(2);
    walkPanel("panel-snow", {kZeroSet});
    trigger(CommandId::kDisconnect);
    pause(2000);

    trigger(CommandId::kMonitor);
    trigger(CommandId::kSaveDestination);
    expect("saveDestinationDialog");
    trigger(CommandId::kManualLink);
    expect("manualLinkDialog");

    remoteStationWindows();

    // The launchers: the option programs found in the home folder, the about box, and the
    // text viewer with the CSV the collection made.
    trigger(CommandId::kOptionPrograms);
    expect("optionListDialog");
    trigger(CommandId::kAbout);
    expect("aboutBox");
    std::string csv = dataFile;
    if (csv.size() > 4) csv.replace(csv.size() - 4, 4, ".csv");
    program_.host.openTextFile(csv);
    expect("textFileViewer");
    // The data file viewer over the collection's data file, chosen in its file dialog.
    fileToChoose_ = QString::fromStdString(dataFile);
    trigger(CommandId::kDataFileViewer);
    expect("dataFileViewer");
    fileToChoose_.clear();

    cfCardWindow();

    // The host's own windows, as the core opens them.
    program_.host.report("回線接続　エラー !!     ");
    expect("reportBox");
    program_.host.ask(Question::YesNo, "メモリ内容をクリアしますか？");
    expect("yesNoQuestion");
    std::string data = std::filesystem::path(dataFile).parent_path().string();
    for (const char* name : {"/KAWABE-01_261208_1031.v38", "/KAWABE-01_261208_1031.txt"}) {
        program_.host.chooseSaveFile("名前を付けて保存", data + name);
        expect("saveFileDialog");
    }
    // The CSV command on the data file the collection stored, whose CSV is there already.
    fileToChoose_ = QString::fromStdString(dataFile);
    trigger(CommandId::kCsvConversion);
    expect("overwriteQuestion");
    fileToChoose_.clear();
    std::atomic<int> cancelFlag{0};
    program_.host.runModal({ModalKind::Wait, kWaitCaption, kWaitingForReplyText}, cancelFlag,
                           [](ModalContext& window) {
                               for (int i = 0; i < 30 && !window.cancelled(); ++i)
                                   std::this_thread::sleep_for(std::chrono::milliseconds(50));
                               return 0;
                           });
    expect(gui::kWaitWindowName);

    watch_.stop();
    if (!missing_.isEmpty())
        std::fprintf(stderr, "fenta21-screenshots: missing: %s\n", missing_.join(", ").toLocal8Bit().constData());
    QApplication::exit(missing_.isEmpty() ? 0 : 1);
}

}  // namespace fenta21::screenshots
