#include "GuiView.h"

namespace rtd::gui {

namespace {
ProgressHook& Progress() {
    static ProgressHook hook;
    return hook;
}
FileDialogHook& FileDialogShown() {
    static FileDialogHook hook;
    return hook;
}
} // namespace

void SetProgressHook(ProgressHook hook) {
    Progress() = std::move(hook);
}

void NotifyProgress(GuiView& view, int percent) {
    // A copy: the hook may replace itself while it runs.
    const ProgressHook hook = Progress();
    if (hook)
        hook(view, percent);
}

void SetFileDialogHook(FileDialogHook hook) {
    FileDialogShown() = std::move(hook);
}

void NotifyFileDialogShown(FileDialog& dialog) {
    const FileDialogHook hook = FileDialogShown();
    if (hook)
        hook(dialog);
}

} // namespace rtd::gui
