#pragma once

// Declared apart from its cases: the meta-object compiler cannot read the core's headers.
#include <QObject>

class DesktopStartupTest : public QObject {
    Q_OBJECT
private slots:
    void arguments_data();
    void arguments();
    void answersWithoutADisplay_data();
    void answersWithoutADisplay();
    void schedulerThatWasOnRunsBeforeTheWindowShows();
    void optionProgramChoosesTheMenuWithoutAccelerators();
    void missingHomeFilesGiveTheDefaults();
    void qtsOwnDialogsSpeakJapanese();
    void anUnwritableErrorLogIsSaidOnceWithoutWaiting();
};
