// The GTK host's side of the UI thread: the queue drained by a source on GLib's default main
// context, messages, steps of other threads, and the loop itself.
#include <glib-unix.h>
#include <signal.h>

#include <atomic>

#include "platform/window/gtk/gtk_window_host.h"

namespace quelt {

namespace {

struct QueueSource {
    GSource base;
    GtkWindowHost* host;
};

GtkWindowHost& hostOf(GSource* source) {
    return *reinterpret_cast<QueueSource*>(source)->host;
}

gboolean queuePrepare(GSource* source, gint* timeout) {
    *timeout = -1;
    return hostOf(source).queueHasItems() ? TRUE : FALSE;
}

gboolean queueCheck(GSource* source) {
    return hostOf(source).queueHasItems() ? TRUE : FALSE;
}

gboolean queueDispatch(GSource* source, GSourceFunc, gpointer) {
    hostOf(source).dispatchQueued();
    return G_SOURCE_CONTINUE;
}

GSourceFuncs queueSourceFuncs = {queuePrepare, queueCheck, queueDispatch,
                                 nullptr,      nullptr,    nullptr};

// The UI thread's loop is GLib's default main context, shared by every window of the thread, so
// a quit through any of them ends it (as a quit message ends a Windows thread's loop).
struct LoopState {
    std::atomic<bool> quitRequested{false};
    std::atomic<int> exitCode{0};
    std::atomic<bool> signalled{false};  // ended by a signal: its exit code stays
};

LoopState& loopState() {
    static LoopState state;
    return state;
}

void wakeLoop() {
    g_main_context_wakeup(nullptr);
}

}  // namespace

void GtkWindowHost::attachQueue() {
    source_.reset(g_source_new(&queueSourceFuncs, sizeof(QueueSource)));
    reinterpret_cast<QueueSource*>(source_.get())->host = this;
    // A modal box's nested loop must keep handling the queue while a queued item is running.
    g_source_set_can_recurse(source_.get(), TRUE);
    g_source_attach(source_.get(), nullptr);
    queue_.open();
}

void GtkWindowHost::dispatchQueued() {
    queue_.dispatchOne([this](std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
        if (handler_ != nullptr) {
            handler_->onMessage(message, wParam, lParam);
        }
    });
}

bool GtkWindowHost::post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (!queue_.post(message, wParam, lParam)) {
        return false;
    }
    wakeLoop();
    return true;
}

std::intptr_t GtkWindowHost::send(std::uint32_t message, std::uintptr_t wParam,
                                  std::intptr_t lParam) {
    std::intptr_t result = 0;
    runUiOperation(*this, [&] {
        if (window_ != nullptr && handler_ != nullptr) {
            result = handler_->onMessage(message, wParam, lParam);
        }
    });
    return result;
}

bool GtkWindowHost::runOnUiThread(const std::function<void()>& step) {
    return queue_.runOnUiThread(isUiThread(), step, wakeLoop);
}

int GtkWindowHost::run() {
    LoopState& loop = loopState();
    while (!loop.quitRequested.load()) {
        g_main_context_iteration(nullptr, TRUE);
    }
    loop.quitRequested = false;
    return loop.exitCode.load();
}

void GtkWindowHost::quit(int exitCode) {
    LoopState& loop = loopState();
    if (!loop.signalled.load()) {
        loop.exitCode = exitCode;
    }
    loop.quitRequested = true;
    wakeLoop();
}

void GtkWindowHost::waitPumpingMessages(std::uint32_t ms) {
    if (!isUiThread()) {
        return;
    }
    bool expired = false;
    const GSourceOwner timer(g_timeout_source_new(ms));
    g_source_set_callback(
        timer.get(),
        [](gpointer flag) -> gboolean {
            *static_cast<bool*>(flag) = true;
            return G_SOURCE_REMOVE;
        },
        &expired, nullptr);
    g_source_attach(timer.get(), nullptr);
    while (!expired && !loopState().quitRequested.load()) {
        g_main_context_iteration(nullptr, TRUE);
    }
}

bool endedBySignal() {
    return loopState().signalled.load();
}

void quitOnTerminationSignals() {
    static bool installed = false;
    if (installed) {
        return;
    }
    installed = true;
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        // GLib turns the signal into a source of the default context: this runs on the UI thread.
        g_unix_signal_add(
            signalNumber,
            [](gpointer data) -> gboolean {
                LoopState& loop = loopState();
                loop.exitCode = 128 + GPOINTER_TO_INT(data);
                loop.signalled = true;
                loop.quitRequested = true;
                // An error box waiting for its OK would hold the quit up: it is answered.
                GList* windows = gtk_window_list_toplevels();
                for (GList* item = windows; item != nullptr; item = item->next) {
                    if (GTK_IS_DIALOG(item->data)) {
                        gtk_dialog_response(GTK_DIALOG(item->data), GTK_RESPONSE_CANCEL);
                    }
                }
                g_list_free(windows);
                wakeLoop();
                return G_SOURCE_CONTINUE;
            },
            GINT_TO_POINTER(signalNumber));
    }
}

}  // namespace quelt
