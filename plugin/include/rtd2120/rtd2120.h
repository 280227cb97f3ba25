// Public interface of the RTD2120 in-system programming plug-in, for host authors.
//
// A host loads the plug-in (RTD2120.dll on Windows, librtd2120.so on Linux), looks the
// 15 functions below up by name, hands over its three objects (main form, message list,
// I2C bus object) and then runs commands one at a time on its user-interface thread.
//
// The three host objects are abstract classes that the host implements. Their virtual
// slot order is part of the binary interface: never reorder, insert or remove a slot.
// On 32-bit Windows the virtual functions are thiscall, as every Windows C++ compiler
// lays them out; the exports are stdcall with undecorated names.
#ifndef RTD2120_RTD2120_H
#define RTD2120_RTD2120_H

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#if defined(_WIN32)
#define RTD_STDCALL __stdcall
#else
#define RTD_STDCALL
#endif

#if defined(RTD_BUILDING_PLUGIN)
#if defined(_WIN32)
#define RTD_EXPORT
#else
#define RTD_EXPORT __attribute__((visibility("default")))
#endif
#else
#define RTD_EXPORT
#endif

// The host's I2C bus object. Every call is one complete bus transfer to `address`, the
// full 8-bit address byte (7-bit device address shifted left, read/write bit in bit 0),
// finished when the call returns. The plug-in ignores the results and learns of bus
// trouble only from the status bytes it reads back.
class TIicInterface {
public:
    // First slot: never called by the plug-in (kept so the slot order matches hosts that
    // put their own first virtual here).
    virtual void Reserved() {}
    // Sends exactly `count` bytes from `data`.
    virtual bool IicWrite(uint8_t address, int count, const uint8_t* data) = 0;
    // Reads exactly `count` bytes into `data`. A read that cannot complete may leave the
    // buffer as it was: the plug-in sets the byte before every call, to 0xFF for a status
    // read (a failed poll then counts as not ready) and, for the read of the chip's CRC
    // result, to the complement of the CRC-8 it computed itself (a failed read never
    // matches).
    virtual bool IicRead(uint8_t address, int count, uint8_t* data) = 0;

protected:
    ~TIicInterface() = default;
};

// The host's message list. `text` is a zero-terminated 8-bit string the plug-in owns;
// copy it if it must outlive the call.
class TStrings {
public:
    virtual int Add(const char* text) = 0;
    virtual void Clear() = 0;

protected:
    ~TStrings() = default;
};

// Window message posted to the main form with progress: wParam is the percentage
// (0 to 100), lParam is 0.
enum { RTD_PROGRESS_MESSAGE = 1025 };

// The host's main form. Left, Top, Width and Height are the outer rectangle in screen
// pixels (the dialogs centre themselves on it). Handle is the form's window: an HWND on
// Windows, where progress is a real PostMessageA to it followed by a pump of the calling
// thread's queue; on Linux an X11 window id (or 0), used to make the dialogs transient
// for it. Outside Windows the plug-in delivers progress by calling PostWindowMessage and
// then ProcessMessages once; on Windows those two slots are never called. (Not named
// PostMessage: windows.h defines that as a macro.)
class TForm {
public:
    virtual int GetLeft() = 0;
    virtual int GetTop() = 0;
    virtual int GetWidth() = 0;
    virtual int GetHeight() = 0;
    virtual uintptr_t GetHandle() = 0;
    virtual void PostWindowMessage(unsigned message, uintptr_t wParam, intptr_t lParam) = 0;
    virtual void ProcessMessages() = 0;

protected:
    ~TForm() = default;
};

// AnsiString crosses the boundary as one pointer: null is the empty string; otherwise it
// points at the first character of a zero-terminated string, with the 32-bit length at
// offset -4 and the 32-bit reference count at offset -8. A count of -1 marks a constant
// that is never counted. The plug-in adds its reference on entry, drops it on return,
// never frees the string and never writes to its characters.
typedef char* AnsiStringPtr;

// Helpers for hosts: make a counted string (count 1) and drop one reference to it,
// freeing it when the count reaches 0. Constants (count -1) are never freed.
inline AnsiStringPtr AnsiStringNew(const char* text) {
    const size_t length = text ? std::strlen(text) : 0;
    char* block = static_cast<char*>(std::malloc(8 + length + 1));
    if (!block)
        return nullptr;
    const int32_t count = 1;
    const int32_t size = static_cast<int32_t>(length);
    std::memcpy(block, &count, 4);
    std::memcpy(block + 4, &size, 4);
    if (length)
        std::memcpy(block + 8, text, length);
    block[8 + length] = '\0';
    return block + 8;
}

inline void AnsiStringRelease(AnsiStringPtr s) {
    if (!s)
        return;
    int32_t count;
    std::memcpy(&count, s - 8, 4);
    if (count == -1)
        return;
    if (--count <= 0) {
        std::free(s - 8);
        return;
    }
    std::memcpy(s - 8, &count, 4);
}

// The 15 exports, in ordinal order (1 to 15).
extern "C" {
RTD_EXPORT char* RTD_STDCALL KXMcuName(char* buffer); // 8 bytes: "RTD2120"
RTD_EXPORT TIicInterface* RTD_STDCALL SetIICInterFace(TIicInterface* bus);
RTD_EXPORT TForm* RTD_STDCALL SetMainFrm(TForm* form);
RTD_EXPORT bool RTD_STDCALL SupportReset();
RTD_EXPORT bool RTD_STDCALL SupportErase();
RTD_EXPORT bool RTD_STDCALL SupportExtFunc();
RTD_EXPORT void RTD_STDCALL About();
RTD_EXPORT void RTD_STDCALL Setup();
RTD_EXPORT bool RTD_STDCALL ExtFunc(AnsiStringPtr argument); // "Enter isp"
RTD_EXPORT bool RTD_STDCALL Write(AnsiStringPtr path);
RTD_EXPORT bool RTD_STDCALL Erase();
RTD_EXPORT bool RTD_STDCALL Reset();
RTD_EXPORT char* RTD_STDCALL ExtFuncName(char* buffer); // 10 bytes: "Enter isp"
RTD_EXPORT TStrings* RTD_STDCALL SetInfoList(TStrings* list);
RTD_EXPORT char* RTD_STDCALL SetIspFileExt(char* buffer); // 32 bytes: file filter
}

// Function pointer types for hosts that load the plug-in at run time.
typedef char*(RTD_STDCALL* KXMcuNameFn)(char*);
typedef TIicInterface*(RTD_STDCALL* SetIICInterFaceFn)(TIicInterface*);
typedef TForm*(RTD_STDCALL* SetMainFrmFn)(TForm*);
typedef bool(RTD_STDCALL* SupportFn)();
typedef void(RTD_STDCALL* DialogFn)();
typedef bool(RTD_STDCALL* StringCommandFn)(AnsiStringPtr);
typedef bool(RTD_STDCALL* CommandFn)();
typedef char*(RTD_STDCALL* ExtFuncNameFn)(char*);
typedef TStrings*(RTD_STDCALL* SetInfoListFn)(TStrings*);
typedef char*(RTD_STDCALL* SetIspFileExtFn)(char*);

#endif
