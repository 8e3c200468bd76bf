#pragma once

namespace fenta21::gui {

// Qt's own texts (the file dialogs' "Look in:", "File name:", "Open", "Save", the standard
// buttons and context menus) in Japanese, whatever the user's locale, so that they speak the
// program's language. They come from Debian's qt6-translations-l10n; without it they stay
// English. Installed once into the running application; false when there are none.
bool installQtJapanese();

}  // namespace fenta21::gui
