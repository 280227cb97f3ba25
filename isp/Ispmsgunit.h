// TIspMsgUnit: base of the engine object; holds the host's main form, the target of
// progress messages.
#ifndef RTD_ISP_ISPMSGUNIT_H
#define RTD_ISP_ISPMSGUNIT_H

#include "Platform.h"
#include "rtd2120/rtd2120.h"

class TIspMsgUnit {
public:
    TForm* MainFrm = nullptr;

    void SetMainFrm(TForm* form) { MainFrm = form; }
    TForm* GetMainFrm() const { return MainFrm; }

    // Posts progress (message 1025, wParam = percent) to MainFrm and processes pending
    // messages once. Without a main form nothing is posted.
    void PostProgress(int percent) {
        if (MainFrm)
            rtd::CurrentPlatform().PostProgress(MainFrm, percent);
    }
};

#endif
