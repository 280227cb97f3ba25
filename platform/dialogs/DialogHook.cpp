#include "platform/dialogs/DialogWindow.h"

namespace rtd {
namespace {
DialogShownHook& ShownHook() {
    static DialogShownHook hook;
    return hook;
}
} // namespace

void SetDialogShownHook(DialogShownHook hook) {
    ShownHook() = std::move(hook);
}

void NotifyDialogShown(DialogWindow& window) {
    // A copy: the hook may replace itself while it runs.
    const DialogShownHook hook = ShownHook();
    if (hook)
        hook(window);
}

} // namespace rtd
