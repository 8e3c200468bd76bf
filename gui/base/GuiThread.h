#pragma once

#include "gui/base/GuiInbox.h"

#include <optional>
#include <type_traits>
#include <utility>

namespace fenta21::gui {

// Runs `work` on the GUI thread through `inbox` and returns its result. Called there it runs at once; from any
// other thread it is handed over through the program's inbox and the caller waits, so no widget
// is ever touched off the GUI thread. When the program closes before the work ran, the caller
// gets `fallback`.
template <class Work, class Result = std::invoke_result_t<Work&>>
Result onGuiThread(GuiInbox& inbox, Work&& work, Result fallback = Result{}) {
    std::optional<Result> result;
    inbox.call([&] { result.emplace(work()); });
    return result ? std::move(*result) : std::move(fallback);
}

template <class Work>
void onGuiThreadVoid(GuiInbox& inbox, Work&& work) {
    inbox.call([&] { work(); });
}

}  // namespace fenta21::gui
