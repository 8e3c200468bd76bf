// The main window's two docked bars: the status bar on the right, always shown, and the
// communication monitor at the bottom, which the "詳細" button opens and closes.
#include "core/app/CommandTable.h"
#include "core/session/Session.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/MonitorBar.h"
#include "gui/app/StatusBar.h"
#include "gui/base/QtHost.h"

#include <QDockWidget>

namespace fenta21::gui {

void CMainFrame::buildBars() {
    // Docked bars without a title: they are part of the window, never moved or closed.
    auto dock = [this](QWidget* content, Qt::DockWidgetArea area) {
        auto* bar = new QDockWidget(this);
        bar->setFeatures(QDockWidget::NoDockWidgetFeatures);
        bar->setTitleBarWidget(new QWidget(bar));
        bar->setWidget(content);
        addDockWidget(area, bar);
        return bar;
    };
    statusBar_ = new StatusBar(actions_.at(CommandId::kMonitor), this);
    dock(statusBar_, Qt::RightDockWidgetArea)->setObjectName("statusDock");
    monitorBar_ = new MonitorBar(this);
    monitorBar_->setFixedHeight(MonitorBar::kHeight);
    QDockWidget* monitorDock = dock(monitorBar_, Qt::BottomDockWidgetArea);
    monitorDock->setObjectName("monitorDock");
    monitorDock->hide();
    monitorDock_ = monitorDock;
}

void CMainFrame::toggleMonitor() {
    // The notice covers the moment the window changes its height.
    host_.showNotice(" ");
    int height = kHeight;
    if (!monitorShown_) {
        statusBar_->setMonitorOpen(true);
        monitorDock_->show();
        monitorShown_ = true;
        height = kHeightWithMonitor;
        monitorBar_->opened();
    } else {
        statusBar_->setMonitorOpen(false);
        monitorDock_->hide();
        monitorShown_ = false;
        monitorBar_->closed(session_.homeFile("com.log"));
    }
    setFixedSize(kWidth, height);
    host_.hideNotice();
    statusBar_->showReservation(session_.reservationRunning.load());
}

}  // namespace fenta21::gui
