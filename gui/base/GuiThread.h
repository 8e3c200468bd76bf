#pragma once

#include <QMetaObject>
#include <QObject>
#include <QThread>

#include <optional>
#include <type_traits>
#include <utility>

namespace fenta21::gui {

// Runs `work` on the thread of `context` (the GUI thread) and returns its result. Called on
// that thread it runs at once; from any other thread it is queued there and the caller waits,
// so no widget is ever touched off the GUI thread. When the GUI thread drops the call (the
// context is destroyed at exit) the caller gets `fallback`.
template <class Work, class Result = std::invoke_result_t<Work&>>
Result onGuiThread(QObject* context, Work&& work, Result fallback = Result{}) {
    if (QThread::currentThread() == context->thread()) return work();
    std::optional<Result> result;
    QMetaObject::invokeMethod(context, [&] { result.emplace(work()); }, Qt::BlockingQueuedConnection);
    return result ? std::move(*result) : std::move(fallback);
}

template <class Work>
void onGuiThreadVoid(QObject* context, Work&& work) {
    if (QThread::currentThread() == context->thread()) {
        work();
        return;
    }
    QMetaObject::invokeMethod(context, [&] { work(); }, Qt::BlockingQueuedConnection);
}

}  // namespace fenta21::gui
