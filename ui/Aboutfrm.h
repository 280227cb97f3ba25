// TAboutForm: the plug-in's title, version and contact line.
#ifndef RTD_UI_ABOUTFRM_H
#define RTD_UI_ABOUTFRM_H

#include "DialogForm.h"

class TAboutForm : public TDialogForm {
public:
    explicit TAboutForm(TForm* owner);
    void Button1Click() { Close(); }

protected:
    void ControlClicked(int control) override;
};

#endif
