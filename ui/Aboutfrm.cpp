#include "Aboutfrm.h"

#include "DialogLayout.h"

TAboutForm::TAboutForm(TForm* owner) : TDialogForm(rtd::ui::AboutLayout(), owner) {}

void TAboutForm::ControlClicked(int control) {
    if (control == rtd::ui::kAboutButton1)
        Button1Click();
}
