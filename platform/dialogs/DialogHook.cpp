#include "DialogWindow.h"

namespace rtd {
namespace {
DialogShownHook& ShownHook() {
    static DialogShownHook hook;
    return hook;
}
} // namespace

int FirstTabStop(const WindowLayout& dialog) {
    int first = -1;
    for (size_t i = 0; i < dialog.controls.size(); ++i) {
        const int order = dialog.controls[i].tabOrder;
        if (order >= 0 &&
            (first < 0 || order < dialog.controls[static_cast<size_t>(first)].tabOrder))
            first = static_cast<int>(i);
    }
    return first;
}

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
