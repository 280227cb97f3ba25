#include "Setupfrm.h"

#include "DialogLayout.h"
#include "Ispunit.h"

using rtd::ui::kSetupButton1;
using rtd::ui::kSetupCheckBox1;

TSetupForm::TSetupForm(TForm* owner) : TDialogForm(rtd::ui::SetupLayout(), owner) {
    Window().SetChecked(kSetupCheckBox1, IspUnit && IspUnit->AutoFireSecond);
}

void TSetupForm::CheckBox1Click() {
    if (IspUnit)
        IspUnit->AutoFireSecond = Window().Checked(kSetupCheckBox1);
}

void TSetupForm::ControlClicked(int control) {
    if (control == kSetupCheckBox1)
        CheckBox1Click();
    else if (control == kSetupButton1)
        Button1Click();
}
