#include "gui/app/LogProblemBox.h"

#include "gui/base/QtHost.h"
#include "gui/base/Text.h"

#include <QMessageBox>

#include <cstring>

namespace fenta21::gui {

void showLogNotWritten(QWidget* parent, const std::string& path, int errorNumber) {
    QString text = QStringLiteral("ログファイルに書き込めません!!\n%1\n(%2)\nこのファイルへの記録は失われます。")
                       .arg(qs(path), qs(std::strerror(errorNumber)));
    auto* box = new QMessageBox(QMessageBox::Warning, QtHost::kMessageCaption, text, QMessageBox::Ok, parent);
    box->setObjectName(kLogProblemBoxName);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
}

}  // namespace fenta21::gui
