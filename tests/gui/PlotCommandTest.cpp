// "fenta21-cli plot" on a full logger memory (2 million records), run as a user runs it, with no
// display: the pictures it writes and what it refuses.
#include "tests/gui/PlotCommandTest.h"

#include "bench/BenchSupport.h"
#include "core/base/Files.h"
#include "sim/image/ImageRecipeText.h"
#include "tests/support/TempHome.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QXmlStreamReader>
#include <QtTest>

#include <memory>

using namespace fenta21;

namespace {

// A home folder without model files: the command falls back to the installation's.
std::unique_ptr<test::TempHome> home;

struct Run {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

Run runCli(const std::string& homeFolder, const QStringList& words) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) environment.remove(name);
    process.setProcessEnvironment(environment);
    process.start(FENTA21_CLI_PATH, QStringList{"--home", QString::fromStdString(homeFolder)} + words);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

Run runPlot(const QStringList& words) { return runCli(home->path(), QStringList{"plot"} + words); }

}  // namespace

void PlotCommandTest::initTestCase() {
    home = std::make_unique<test::TempHome>();
    dataFile_ = QString::fromStdString(home->file("FULL.v38"));
    QVERIFY(writeFileAtomically(dataFile_.toStdString(), sim::buildDataImage(bench::strainRecipe())));
}

void PlotCommandTest::drawsAFullMemoryAsPngSvgAndPdfWithoutADisplay() {
    for (QString extension : {"png", "svg", "pdf"}) {
        QString out = QString::fromStdString(home->file("full." + extension.toStdString()));
        Run run = runPlot({dataFile_, "--out", out, "--size", "1920x1080", "--json"});
        QVERIFY2(run.status == 0, run.err.constData());
        QJsonObject result = QJsonDocument::fromJson(run.out).object();
        QCOMPARE(result["command"].toString(), QStringLiteral("plot"));
        QCOMPARE(result["picture"].toString(), out);
        QCOMPARE(result["exitStatus"].toInt(), 0);
        QJsonArray series = result["series"].toArray();
        QCOMPARE(series.size(), 8);
        for (const QJsonValue& one : series) QCOMPARE(one["records"].toInt(), bench::strainRecipe().instants);
        QCOMPARE(result["from"].toString(), QStringLiteral("2026/04/01 00:00:00"));

        std::string bytes = test::readFileBytes(out.toStdString());
        if (extension == "png") {
            QCOMPARE(QImage(out).size(), QSize(1920, 1080));
        } else if (extension == "svg") {
            QXmlStreamReader xml(QByteArray::fromStdString(bytes));
            int paths = 0;
            while (!xml.atEnd())
                if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QStringLiteral("polyline")) ++paths;
            QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
            QVERIFY(paths >= 8);
        } else {
            QVERIFY(bytes.rfind("%PDF-", 0) == 0);
            QVERIFY(bytes.find("%%EOF") != std::string::npos);
        }
    }
}

void PlotCommandTest::drawsAStationOfTheRecordStore() {
    test::TempHome station;
    const QString file = QString::fromStdString(station.file("KAWABE_260408_0000.v38"));
    sim::ParsedRecipe recipe =
        sim::parseImageRecipe(test::readFileBytes(std::string(FENTA21_GOLDEN_DIR) + "/plot/wind_station.recipe"));
    QVERIFY(writeFileAtomically(file.toStdString(), sim::buildDataImage(recipe.recipe)));
    QCOMPARE(runCli(station.path(), {"init"}).status, 0);
    Run imported = runCli(station.path(), {"db", "import", file});
    QVERIFY2(imported.status == 0, imported.err.constData());

    // A day of the station, on its own clock: both ends are records.
    const QString out = QString::fromStdString(station.file("day.svg"));
    Run drawn = runCli(station.path(), {"plot", "--station", "KAWABE", "--from", "2026-04-02", "--to", "2026-04-03T00:00",
                                        "--out", out, "--json"});
    QVERIFY2(drawn.status == 0, drawn.err.constData());
    QJsonObject result = QJsonDocument::fromJson(drawn.out).object();
    QCOMPARE(result["from"].toString(), QStringLiteral("2026/04/02 00:00:00"));
    QJsonArray series = result["series"].toArray();
    QCOMPARE(series.size(), 7);
    for (const QJsonValue& one : series) QCOMPARE(one["records"].toInt(), 145);
    QVERIFY(QFile::exists(out));

    Run unknown = runCli(station.path(), {"plot", "--station", "YAMADA", "--out", out});
    QCOMPARE(unknown.status, 2);
    QVERIFY2(QString::fromUtf8(unknown.err).contains("\n  KAWABE"), unknown.err.constData());
}

void PlotCommandTest::refusesWhatItCannotDraw_data() {
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said");
    QTest::newRow("a series the file does not have lists the series")
        << QStringList{"@FILE", "--out", "@OUT.png", "--series", "ひずみ CH9"} << 2 << "8 ひずみ CH8";
    QTest::newRow("an unknown picture format") << QStringList{"@FILE", "--out", "@OUT.gif"} << 2 << ".png, .svg or .pdf";
    QTest::newRow("a size out of reach") << QStringList{"@FILE", "--out", "@OUT.png", "--size", "99999x10"} << 2
                                         << "WIDTHxHEIGHT";
    QTest::newRow("a time that does not exist") << QStringList{"@FILE", "--out", "@OUT.png", "--from", "2026-02-30"}
                                                << 2 << "2026-02-30";
    QTest::newRow("a file that is not there") << QStringList{"@MISSING", "--out", "@OUT.png"} << 1 << "cannot read";
    QTest::newRow("a home without a record store") << QStringList{"--station", "KAWABE", "--out", "@OUT.png"} << 1
                                                   << "no record store";
    QTest::newRow("a range without records") << QStringList{"@FILE", "--out", "@OUT.png", "--from", "2030-01-01"} << 1
                                             << "no records";
}

void PlotCommandTest::refusesWhatItCannotDraw() {
    QFETCH(QStringList, words);
    QFETCH(int, status);
    QFETCH(QString, said);
    const QString out = QString::fromStdString(home->file("refused"));
    for (QString& word : words) {
        word.replace("@FILE", dataFile_);
        word.replace("@MISSING", QString::fromStdString(home->file("MISSING.v38")));
        word.replace("@OUT", out);
    }
    Run run = runPlot(words);
    QCOMPARE(run.status, status);
    QVERIFY2(QString::fromUtf8(run.err).contains(said), run.err.constData());
    // Nothing is written, not even in part.
    for (const char* extension : {".png", ".gif"}) QVERIFY(!QFile::exists(out + extension));
}

// No display and no platform here either: the pictures are read as files.
QTEST_GUILESS_MAIN(PlotCommandTest)
