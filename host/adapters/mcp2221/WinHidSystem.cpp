// The system calls under the Windows HID transport: setupapi.dll, hid.dll and kernel32,
// all part of Windows.
#include <windows.h>

#include <setupapi.h>
// This header of mingw-w64 declares hid.dll's functions without C linkage.
extern "C" {
#include <hidsdi.h>
}

#include "WinHidPorts.h"

namespace rtd::host::mcp2221 {

namespace {

class SystemHid : public WinHidCalls {
public:
    std::vector<std::string> DevicePaths() override {
        std::vector<std::string> paths;
        GUID guid;
        HidD_GetHidGuid(&guid);
        HDEVINFO set =
            SetupDiGetClassDevsA(&guid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
        if (set == INVALID_HANDLE_VALUE)
            return paths;
        SP_DEVICE_INTERFACE_DATA item = {};
        item.cbSize = sizeof item;
        for (DWORD i = 0; SetupDiEnumDeviceInterfaces(set, nullptr, &guid, i, &item); ++i) {
            DWORD size = 0;
            SetupDiGetDeviceInterfaceDetailA(set, &item, nullptr, 0, &size, nullptr);
            if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A))
                continue;
            std::vector<char> buffer(size);
            auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(buffer.data());
            detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
            if (SetupDiGetDeviceInterfaceDetailA(set, &item, detail, size, nullptr, nullptr))
                paths.push_back(detail->DevicePath);
        }
        SetupDiDestroyDeviceInfoList(set);
        return paths;
    }

    Handle Open(const std::string& path, bool exclusive, unsigned long* error) override {
        // A look at the attributes needs no access; the claim shares with nobody.
        const DWORD access = exclusive ? GENERIC_READ | GENERIC_WRITE : 0;
        const DWORD share = exclusive ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE;
        HANDLE h = CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                               FILE_FLAG_OVERLAPPED, nullptr);
        if (h != INVALID_HANDLE_VALUE)
            return h;
        *error = GetLastError();
        return nullptr;
    }

    bool Attributes(Handle h, unsigned* vendor, unsigned* product) override {
        HIDD_ATTRIBUTES a = {};
        a.Size = sizeof a;
        if (!HidD_GetAttributes(h, &a))
            return false;
        *vendor = a.VendorID;
        *product = a.ProductID;
        return true;
    }

    void Flush(Handle h) override { HidD_FlushQueue(h); }

    std::string Serial(Handle h) override {
        wchar_t text[128] = {};
        if (!HidD_GetSerialNumberString(h, text, sizeof text))
            return "";
        std::string serial;
        for (const wchar_t* c = text; *c && serial.size() < 64; ++c)
            serial += *c < 0x80 ? static_cast<char>(*c) : '?';
        return serial;
    }

    bool Write(Handle h, const uint8_t* data, size_t size, int timeoutMs,
               unsigned long* error) override {
        DWORD done = 0;
        if (!Overlapped(h, timeoutMs, &done, error, [&](OVERLAPPED* o) {
                return WriteFile(h, data, static_cast<DWORD>(size), nullptr, o);
            }))
            return false;
        if (done == size)
            return true;
        *error = ERROR_WRITE_FAULT;
        return false;
    }

    bool Read(Handle h, uint8_t* data, size_t size, size_t* got, int timeoutMs,
              unsigned long* error) override {
        DWORD done = 0;
        const bool ok = Overlapped(h, timeoutMs, &done, error, [&](OVERLAPPED* o) {
            return ReadFile(h, data, static_cast<DWORD>(size), nullptr, o);
        });
        *got = done;
        return ok;
    }

    void Close(Handle h) override { CloseHandle(h); }

    std::string ErrorText(unsigned long error) override {
        char text[256] = {};
        const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                       nullptr, error, 0, text, sizeof text, nullptr);
        std::string s(text, n);
        while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == '.'))
            s.pop_back();
        return s.empty() ? "error " + std::to_string(error) : s;
    }

private:
    // Starts an overlapped transfer and waits for it; a transfer still pending at the
    // timeout is cancelled (and waited for, so that its buffer is free again).
    template <typename Start>
    bool Overlapped(Handle h, int timeoutMs, DWORD* done, unsigned long* error, Start start) {
        OVERLAPPED o = {};
        o.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        if (!o.hEvent) {
            *error = GetLastError();
            return false;
        }
        bool ok = start(&o) != 0;
        if (!ok && GetLastError() == ERROR_IO_PENDING) {
            if (WaitForSingleObject(o.hEvent, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) {
                CancelIo(h);
                GetOverlappedResult(h, &o, done, TRUE);
                CloseHandle(o.hEvent);
                *error = ERROR_TIMEOUT;
                return false;
            }
            ok = true;
        }
        if (ok)
            ok = GetOverlappedResult(h, &o, done, FALSE) != 0;
        if (!ok)
            *error = GetLastError();
        CloseHandle(o.hEvent);
        return ok;
    }
};

} // namespace

Mcp2221Ports& SystemPorts() {
    static SystemHid calls;
    static WinHidPorts ports(&calls);
    return ports;
}

} // namespace rtd::host::mcp2221
