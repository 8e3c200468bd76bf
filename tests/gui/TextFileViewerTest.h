#pragma once

// Declared apart from its cases: the meta-object compiler cannot read the core's headers.
#include <QObject>

class TextFileViewerTest : public QObject {
    Q_OBJECT
private slots:
    void hostShowsTheFileWithoutWaiting();
    void escapeClosesIt();
    void unreadableFileShowsWhy_data();
    void unreadableFileShowsWhy();
    void openWithSystemHandsTheFileToTheDesktop();
};
