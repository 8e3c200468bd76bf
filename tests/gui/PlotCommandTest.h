#pragma once

// Declared apart from its cases: the meta-object compiler cannot read the core's headers.
#include <QObject>

class PlotCommandTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void drawsAFullMemoryAsPngSvgAndPdfWithoutADisplay();
    void drawsAStationOfTheRecordStore();
    void refusesWhatItCannotDraw_data();
    void refusesWhatItCannotDraw();

private:
    QString dataFile_;
};
