#include "tests/gui/UrlCatcher.h"

#include <QDesktopServices>

namespace fenta21::test {

UrlCatcher::UrlCatcher(QStringList schemes) : schemes_(std::move(schemes)) {
    for (const QString& scheme : schemes_) QDesktopServices::setUrlHandler(scheme, this, "open");
}

UrlCatcher::~UrlCatcher() {
    for (const QString& scheme : schemes_) QDesktopServices::unsetUrlHandler(scheme);
}

}  // namespace fenta21::test
