#include "Dialogs.h"

#include "Aboutfrm.h"
#include "Ispunit.h"
#include "Placement.h"
#include "Setupfrm.h"

namespace {

// Create, centre over the host's main form, show modally, free.
template <class Form> void RunDialog() {
    // The host calls us through a C boundary: nothing may escape.
    try {
        if (!rtd::DialogDisplayAvailable())
            return;
        TForm* owner = IspUnit ? IspUnit->MainFrm : nullptr;
        Form form(owner);
        if (owner) {
            const rtd::ui::ScreenPoint at = rtd::ui::CentredOver(
                {owner->GetLeft(), owner->GetTop(), owner->GetWidth(), owner->GetHeight()},
                form.Width(), form.Height());
            form.SetLeft(at.left);
            form.SetTop(at.top);
        }
        form.ShowModal();
    } catch (...) {
    }
}

} // namespace

void ShowAboutDialog() {
    RunDialog<TAboutForm>();
}
void ShowSetupDialog() {
    RunDialog<TSetupForm>();
}
