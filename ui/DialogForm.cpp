#include "DialogForm.h"

TDialogForm::TDialogForm(const rtd::WindowLayout& layout, TForm* owner)
    : window_(rtd::DialogWindow::Create(layout, owner ? owner->GetHandle() : 0,
                                        [this](int control) { ControlClicked(control); })) {}

TDialogForm::~TDialogForm() = default;
