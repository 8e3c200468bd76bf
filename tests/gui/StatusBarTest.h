#pragma once

// Declared apart from its cases: the meta-object compiler cannot read the core's headers.
#include <QObject>

class StatusBarTest : public QObject {
    Q_OBJECT
private slots:
    void startsWithItsInitialPictures();
    void lampsOverACollectionAreNeverLitTogether();
    void speedTextStaysUntilReplaced();
};
