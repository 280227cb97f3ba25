// The CH341A on Windows through the maker's CH341DLL.DLL, loaded at run time (never
// linked or shipped). Its CH341StreamI2C works in whole I2C streams: the first byte
// written is the address byte, and with one byte written and bytes to read it reads from
// that address. It reports whether the USB side worked, not acknowledge bits, so a
// missing chip shows only in the bytes read (0xFF from the pull-ups).
#include <cstring>
#include <memory>
#include <vector>

#include <windows.h>

#include "AdapterBus.h"
#include "Ch341Bus.h"
#include "Ch341Encoder.h"
#include "DynamicLibrary.h"

namespace rtd::host::ch341 {

namespace {

// The DLL does not document its longest stream; 1 KiB leaves room above the plug-in's
// page write (258 bytes with the address), which a USB capture shows it sending as
// chained 32-byte packets of 0x80+n blocks, as the Linux route does.
constexpr int kMaxStream = 1024;

using OpenFn = HANDLE(WINAPI*)(ULONG index);
using CloseFn = VOID(WINAPI*)(ULONG index);
using SetStreamFn = BOOL(WINAPI*)(ULONG index, ULONG mode);
using StreamFn = BOOL(WINAPI*)(ULONG index, ULONG writeLength, PVOID writeBuffer, ULONG readLength,
                               PVOID readBuffer);

struct Ch341Dll {
    std::unique_ptr<DynamicLibrary> library;
    OpenFn open = nullptr;
    CloseFn close = nullptr;
    SetStreamFn setStream = nullptr;
    StreamFn stream = nullptr;

    static std::shared_ptr<Ch341Dll> Load(std::string* error) {
        auto dll = std::make_shared<Ch341Dll>();
        std::string reason;
        dll->library =
            DynamicLibrary::Open("CH341DLL.DLL", DynamicLibrary::Search::SystemFolders, &reason);
        if (!dll->library) {
            *error = "CH341DLL.DLL not found: install the CH341A driver (CH341PAR from the "
                     "chip maker, WCH), which puts it in the Windows system folder";
            return nullptr;
        }
        dll->library->Resolve("CH341OpenDevice", &dll->open)
            .Resolve("CH341CloseDevice", &dll->close)
            .Resolve("CH341SetStream", &dll->setStream)
            .Resolve("CH341StreamI2C", &dll->stream);
        if (!dll->library->FirstMissing().empty()) {
            *error = "CH341DLL.DLL lacks " + dll->library->FirstMissing() +
                     ": install a current CH341A driver (CH341PAR from WCH)";
            return nullptr;
        }
        return dll;
    }
};

class DllAdapter : public I2cAdapter {
public:
    DllAdapter(std::shared_ptr<Ch341Dll> dll, ULONG index) : dll_(std::move(dll)), index_(index) {}
    ~DllAdapter() override { dll_->close(index_); }

    AdapterCapabilities Capabilities() const override {
        AdapterCapabilities c;
        c.name = "ch341:" + std::to_string(index_);
        c.maxWrite = kMaxStream - 1;
        c.maxRead = kMaxStream;
        c.plainI2c = true;
        c.seesAcknowledge = false;
        c.speedsKhz = SpeedsKhz();
        return c;
    }
    bool Write(uint8_t address, const uint8_t* data, int count, std::string* error) override {
        if (count + 1 > kMaxStream)
            return TooLong(error);
        std::vector<uint8_t> stream(static_cast<size_t>(count) + 1);
        stream[0] = address;
        if (count > 0)
            std::memcpy(stream.data() + 1, data, static_cast<size_t>(count));
        return Stream(stream, 0, nullptr, error);
    }
    bool Read(uint8_t address, uint8_t* data, int count, std::string* error) override {
        if (count > kMaxStream)
            return TooLong(error);
        return Stream(std::vector<uint8_t>(1, address), count, data, error);
    }
    std::string UsbUncounted() const override { return "CH341DLL.DLL makes its own transfers"; }

private:
    static bool TooLong(std::string* error) {
        *error = "longer than CH341DLL.DLL takes";
        return false;
    }
    bool Stream(std::vector<uint8_t> out, int readCount, uint8_t* in, std::string* error) {
        if (dll_->stream(index_, static_cast<ULONG>(out.size()), out.data(),
                         static_cast<ULONG>(readCount), in))
            return true;
        *error = "CH341StreamI2C failed (adapter unplugged?)";
        return false;
    }

    std::shared_ptr<Ch341Dll> dll_;
    ULONG index_;
};

// Bits 1-0 of the stream mode select the clock, numbered as the encoder's setting; an
// unknown speed runs at 100 kHz.
ULONG StreamMode(int speedKhz) {
    const int setting = SpeedSetting(speedKhz);
    return static_cast<ULONG>(setting < 0 ? SpeedSetting(100) : setting);
}

std::unique_ptr<DllAdapter> OpenAdapter(const std::shared_ptr<Ch341Dll>& dll, int index,
                                        int speedKhz, std::string* error) {
    if (dll->open(static_cast<ULONG>(index)) == INVALID_HANDLE_VALUE) {
        *error = "no CH341A at index " + std::to_string(index) +
                 " (CH341OpenDevice failed): plug it in and check that the CH341PAR driver "
                 "is installed";
        return nullptr;
    }
    auto adapter = std::make_unique<DllAdapter>(dll, static_cast<ULONG>(index));
    if (!dll->setStream(static_cast<ULONG>(index), StreamMode(speedKhz))) {
        *error = "CH341SetStream failed on the CH341A at index " + std::to_string(index);
        return nullptr;
    }
    return adapter;
}

} // namespace

std::unique_ptr<HostBus> OpenCh341Device(int index, int speedKhz, Trace*, std::string* error) {
    const std::shared_ptr<Ch341Dll> dll = Ch341Dll::Load(error);
    if (!dll)
        return nullptr;
    auto adapter = OpenAdapter(dll, index, speedKhz, error);
    if (!adapter)
        return nullptr;
    return std::make_unique<AdapterHostBus>(std::move(adapter));
}

std::vector<BusListing> ListCh341Devices(std::string* note) {
    std::vector<BusListing> found;
    const std::shared_ptr<Ch341Dll> dll = Ch341Dll::Load(note);
    if (!dll)
        return found;
    for (int index = 0; index <= kMaxIndex; ++index) {
        std::string error;
        auto adapter = OpenAdapter(dll, index, 100, &error);
        if (!adapter)
            break; // the DLL numbers its devices from 0 without gaps
        found.push_back({"ch341:" + std::to_string(index),
                         "CH341DLL.DLL device " + std::to_string(index),
                         ProbeChip(*adapter).Describe()});
    }
    if (found.empty())
        *note = "none (CH341DLL.DLL reports no device)";
    return found;
}

} // namespace rtd::host::ch341
