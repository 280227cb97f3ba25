// TSetupForm: the auto-fire-second-bank option and the companion file names it uses.
#ifndef RTD_UI_SETUPFRM_H
#define RTD_UI_SETUPFRM_H

#include "DialogForm.h"

class TSetupForm : public TDialogForm {
public:
    // The box starts as the engine object's AutoFireSecond.
    explicit TSetupForm(TForm* owner);
    // Takes effect at once: there is no cancel.
    void CheckBox1Click();
    void Button1Click() { Close(); }

protected:
    void ControlClicked(int control) override;
};

#endif
