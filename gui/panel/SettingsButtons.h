#pragma once

class QDialog;
class QDialogButtonBox;

namespace fenta21::gui {

// "OK" and "ｷｬﾝｾﾙ" of a settings dialog, wired to its accept and reject.
QDialogButtonBox* okCancelButtons(QDialog* dialog);

}  // namespace fenta21::gui
