#pragma once

#include <QList>
#include <QObject>
#include <QStringList>
#include <QUrl>

namespace fenta21::test {

// Takes the place of the desktop's handlers for some URL schemes while it lives, and records
// what the program asked the desktop to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    explicit UrlCatcher(QStringList schemes);
    ~UrlCatcher() override;

    QList<QUrl> opened() const { return opened_; }

public slots:
    void open(const QUrl& url) { opened_ << url; }

private:
    QStringList schemes_;
    QList<QUrl> opened_;
};

}  // namespace fenta21::test
