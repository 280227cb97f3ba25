// Base of the plug-in's modal forms: a window built from a layout table, owned by the
// host's main form, with clicks routed to the form's handlers.
#ifndef RTD_UI_DIALOGFORM_H
#define RTD_UI_DIALOGFORM_H

#include <memory>

#include "DialogWindow.h"
#include "rtd2120/rtd2120.h"

class TDialogForm {
public:
    // `owner` may be null: the dialog is then shown without an owner.
    TDialogForm(const rtd::WindowLayout& layout, TForm* owner);
    virtual ~TDialogForm();
    TDialogForm(const TDialogForm&) = delete;
    TDialogForm& operator=(const TDialogForm&) = delete;

    // Outer size in screen pixels.
    int Width() { return window_->OuterWidth(); }
    int Height() { return window_->OuterHeight(); }
    void SetLeft(int left) { window_->SetLeft(left); }
    void SetTop(int top) { window_->SetTop(top); }

    void ShowModal() { window_->ShowModal(); }
    void Close() { window_->Close(); }

protected:
    rtd::DialogWindow& Window() { return *window_; }
    virtual void ControlClicked(int control) = 0;

private:
    std::unique_ptr<rtd::DialogWindow> window_;
};

#endif
