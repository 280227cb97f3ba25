#include "Ispunit.h"

TIspUnit* IspUnit = nullptr;

void AddInfo(const char* text) {
    if (IspUnit && IspUnit->InfoList)
        IspUnit->InfoList->Add(text);
}

void ClearInfo() {
    if (IspUnit && IspUnit->InfoList)
        IspUnit->InfoList->Clear();
}
