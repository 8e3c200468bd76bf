#include "companion/window/DataWindow.h"

#include "companion/plot/PictureFile.h"
#include "companion/window/PlotView.h"
#include "companion/window/SeriesTable.h"
#include "companion/window/StationOverview.h"
#include "companion/window/StoreDialog.h"
#include "core/app/CompanionPrograms.h"
#include "core/base/Cp932.h"
#include "core/base/Files.h"
#include "core/plot/DataFileSeries.h"
#include "core/plot/TimeText.h"
#include "core/plot/VisibleCsv.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace fenta21::plot {
namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }
std::string utf8(const QString& text) { return text.toStdString(); }

QString rangeText(double from, double to) {
    return qs(timeText(static_cast<std::int64_t>(std::floor(from)))) + QStringLiteral(" ～ ") +
           qs(timeText(static_cast<std::int64_t>(std::ceil(to))));
}

}  // namespace

DataWindow::DataWindow(const std::string& homeFolder, QWidget* parent)
    : QMainWindow(parent), homeFolder_(homeFolder), models_(modelFilesFolder(homeFolder)), lastFolder_(qs(homeFolder)) {
    setObjectName("dataWindow");
    setWindowTitle(QString::fromUtf8(kCaption));
    setAcceptDrops(true);
    models_.loadModelTable();

    plot_ = new PlotView(document_, window_);
    table_ = new SeriesTable(document_);
    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->setObjectName("plotPage");
    splitter->addWidget(plot_);
    splitter->addWidget(table_);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    tabs_ = new QTabWidget;
    tabs_->setObjectName("views");
    tabs_->setDocumentMode(true);
    setCentralWidget(tabs_);

    readoutLabel_ = new QLabel;
    readoutLabel_->setObjectName("readout");
    rangeLabel_ = new QLabel;
    rangeLabel_->setObjectName("visibleRange");
    statusBar()->addWidget(readoutLabel_, 1);
    statusBar()->addPermanentWidget(rangeLabel_);

    buildMenus();
    addView(splitter, QStringLiteral("ｸﾞﾗﾌ"));
    overview_ = new StationOverview(homeFolder_);
    addView(overview_, QStringLiteral("局の状態"));
    connect(overview_, &StationOverview::plotRequested, this, [this, splitter](const QString& station) {
        plotStation(station.toStdString());
        tabs_->setCurrentWidget(splitter);
    });

    connect(plot_, &PlotView::rangeChanged, this, &DataWindow::rangeChanged);
    connect(plot_, &PlotView::readoutChanged, this, &DataWindow::showReadout);
    connect(table_, &SeriesTable::visibilityChanged, this, [this] {
        plot_->refresh();
        rangeChanged();
    });
    resize(1200, 720);
    documentChanged();
}

void DataWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    QAction* open = file->addAction(QStringLiteral("ﾃﾞｰﾀﾌｧｲﾙを開く(&O)..."), this, &DataWindow::chooseFiles);
    open->setObjectName("openFiles");
    open->setShortcut(QKeySequence::Open);
    QAction* station = file->addAction(QStringLiteral("記録ｽﾄｱを開く(&S)..."), this, &DataWindow::chooseStation);
    station->setObjectName("openStore");
    QAction* close = file->addAction(QStringLiteral("全て閉じる(&C)"), this, &DataWindow::closeAll);
    close->setObjectName("closeAll");
    file->addSeparator();
    QMenu* exports = file->addMenu(QStringLiteral("表示範囲の書き出し(&E)"));
    exports->addAction(QStringLiteral("PNG画像(&P)..."), this,
                       [this] { chooseExport(QStringLiteral("PNG画像の書き出し"), ".png", "PNG (*.png)"); });
    exports->addAction(QStringLiteral("SVG画像(&S)..."), this,
                       [this] { chooseExport(QStringLiteral("SVG画像の書き出し"), ".svg", "SVG (*.svg)"); });
    exports->addAction(QStringLiteral("PDF(&D)..."), this,
                       [this] { chooseExport(QStringLiteral("PDFの書き出し"), ".pdf", "PDF (*.pdf)"); });
    exports->addAction(QStringLiteral("CSVﾌｧｲﾙ(&C)..."), this,
                       [this] { chooseExport(QStringLiteral("CSVﾌｧｲﾙの書き出し"), ".csv", "CSV data (*.csv)"); });
    file->addSeparator();
    file->addAction(QStringLiteral("終了(&X)"), this, &QWidget::close);

    QMenu* view = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    auto step = [this](const QString& text, const char* name, QKeySequence key, auto change) {
        QAction* action = new QAction(text, this);
        action->setObjectName(name);
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, [this, change] {
            change();
            plot_->refresh();
            rangeChanged();
        });
        return action;
    };
    view->addAction(step(QStringLiteral("全体表示(&H)"), "showAll", QKeySequence(Qt::CTRL | Qt::Key_Home),
                         [this] { window_.showAll(); }));
    view->addAction(step(QStringLiteral("拡大(&I)"), "zoomIn", QKeySequence::ZoomIn,
                         [this] { window_.zoom(0.5, (window_.from() + window_.to()) / 2); }));
    view->addAction(step(QStringLiteral("縮小(&O)"), "zoomOut", QKeySequence::ZoomOut,
                         [this] { window_.zoom(2, (window_.from() + window_.to()) / 2); }));
    view->addAction(step(QStringLiteral("前へ(&B)"), "panBack", QKeySequence(Qt::CTRL | Qt::Key_Left),
                         [this] { window_.pan(-window_.span() / 2); }));
    view->addAction(step(QStringLiteral("次へ(&N)"), "panForward", QKeySequence(Qt::CTRL | Qt::Key_Right),
                         [this] { window_.pan(window_.span() / 2); }));

    viewsMenu_ = menuBar()->addMenu(QStringLiteral("ｳｨﾝﾄﾞｳ(&W)"));
}

void DataWindow::addView(QWidget* view, const QString& title) {
    int index = tabs_->addTab(view, title);
    QAction* show = viewsMenu_->addAction(title, this, [this, view] { tabs_->setCurrentWidget(view); });
    if (index < 9) show->setShortcut(QKeySequence(Qt::ALT | static_cast<Qt::Key>(Qt::Key_1 + index)));
}

QStringList DataWindow::openFiles(const QStringList& paths) {
    QStringList problems;
    for (const QString& path : paths) {
        SourceSeries source = readDataFileSeriesAt(utf8(path), identifyThrough(models_));
        if (!source.problem.empty()) problems << path + QStringLiteral(": ") + qs(source.problem);
        else if (source.series.empty()) problems << path + QStringLiteral(": 記録がありません");
        else document_.add(std::move(source));
        lastFolder_ = QFileInfo(path).absolutePath();
    }
    documentChanged();
    if (!problems.isEmpty())
        QMessageBox::warning(this, QString::fromUtf8(kCaption),
                             QStringLiteral("ﾌｧｲﾙを開けませんでした!! \n") + problems.join('\n'));
    return problems;
}

void DataWindow::chooseStation() {
    std::unique_ptr<store::RecordStore> records;
    QString problem;
    try {
        records = store::openHomeStore(homeFolder_);
        if (!records) problem = QStringLiteral("記録ｽﾄｱが設定されていません!! \n(fenta21-cli db init で設定します)");
    } catch (const store::StoreError& e) {
        problem = QStringLiteral("記録ｽﾄｱを開けません!! \n") + qs(e.what());
    }
    if (!problem.isEmpty()) {
        QMessageBox::warning(this, QString::fromUtf8(kCaption), problem);
        return;
    }
    StoreDialog dialog(*records, this);
    if (dialog.exec() == QDialog::Accepted) openStation(*records, dialog.choice());
}

void DataWindow::plotStation(const std::string& station) {
    std::unique_ptr<store::RecordStore> records;
    try {
        records = store::openHomeStore(homeFolder_);
    } catch (const store::StoreError& e) {
        QMessageBox::warning(this, QString::fromUtf8(kCaption), QStringLiteral("記録ｽﾄｱを開けません!! \n") + qs(e.what()));
        return;
    }
    if (!records) return;
    closeAll();
    StationChoice choice;
    choice.station = station;
    openStation(*records, choice);
}

QString DataWindow::openStation(store::RecordStore& store, const StationChoice& choice) {
    SourceSeries source = readStationSeries(store, choice);
    QString problem = qs(source.problem);
    bool empty = std::all_of(source.series.begin(), source.series.end(),
                             [](const PlotSeries& series) { return series.summary.size() == 0; });
    if (problem.isEmpty() && empty) problem = QStringLiteral("記録がありません");
    if (problem.isEmpty()) {
        document_.add(std::move(source));
        documentChanged();
        return {};
    }
    QMessageBox::warning(this, QString::fromUtf8(kCaption),
                         QStringLiteral("記録ｽﾄｱを読めませんでした!! \n") + qs(choice.station) + QStringLiteral(": ") + problem);
    return problem;
}

void DataWindow::showRange(double from, double to) {
    window_.show(from, to);
    plot_->refresh();
    rangeChanged();
}

void DataWindow::closeAll() {
    document_.clear();
    documentChanged();
}

void DataWindow::documentChanged() {
    if (auto extent = document_.extent()) window_.setExtent(static_cast<double>(extent->first), static_cast<double>(extent->second));
    QString names = sourcesText();
    setWindowTitle(names.isEmpty() ? QString::fromUtf8(kCaption) : QString::fromUtf8(kCaption) + QStringLiteral(" - ") + names);
    plot_->setTitle(names);
    table_->rebuild();
    rangeChanged();
}

QString DataWindow::sourcesText() const {
    QStringList names;
    for (const std::string& source : document_.sources()) names << qs(source);
    return names.join(QStringLiteral(", "));
}

void DataWindow::rangeChanged() {
    table_->showRange(window_.from(), window_.to());
    rangeLabel_->setText(document_.empty() ? QString() : rangeText(window_.from(), window_.to()));
}

void DataWindow::showReadout() {
    const Readout& readout = plot_->readout();
    if (!readout.at) {
        readoutLabel_->clear();
        return;
    }
    QStringList parts{qs(readout.timeText)};
    for (const ReadoutRow& row : readout.rows)
        parts << qs(document_.label(row.series)) + QStringLiteral(" ") + qs(row.text) +
                     (row.sample ? QStringLiteral(" ") + qs(document_.series()[row.series].info.unit) : QString());
    readoutLabel_->setText(parts.join(QStringLiteral("   ")));
}

void DataWindow::chooseFiles() {
    QStringList paths = QFileDialog::getOpenFileNames(this, QStringLiteral("ﾃﾞｰﾀﾌｧｲﾙを開く"), lastFolder_,
                                                      QStringLiteral("Binary data (*.v38 *.V38);;All files (*)"));
    if (!paths.isEmpty()) openFiles(paths);
}

void DataWindow::chooseExport(const QString& title, const QString& extension, const QString& filter) {
    if (document_.empty()) return;
    QString suggested = lastFolder_ + '/' + QFileInfo(qs(document_.sources().front())).completeBaseName() + extension;
    QString path = QFileDialog::getSaveFileName(this, title, suggested, filter);
    if (path.isEmpty()) return;
    if (!path.endsWith(extension, Qt::CaseInsensitive)) path += extension;
    QString problem = exportVisible(path);
    if (!problem.isEmpty())
        QMessageBox::warning(this, QString::fromUtf8(kCaption), QStringLiteral("書き出しできませんでした!! \n") + problem);
}

QString DataWindow::exportVisible(const QString& path) {
    std::string file = utf8(path);
    if (path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) {
        std::string csv = utf8ToCp932(visibleRecordsCsv(document_, window_.from(), window_.to()));
        return writeFileAtomically(file, csv) ? QString() : QStringLiteral("cannot write ") + path;
    }
    QSize size = plot_->size();
    PictureText text{sourcesText(), pictureFont()};
    return qs(writePicture(file, document_, window_.from(), window_.to(), size, text));
}

void DataWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void DataWindow::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
    if (paths.isEmpty()) return;
    event->acceptProposedAction();
    openFiles(paths);
}

}  // namespace fenta21::plot
