// The functions of FTDI's D2XX driver DLL (ftd2xx.dll) that the Windows transport loads
// at run time, with their published stdcall signatures, and the constants it passes.
// The stand-in DLL the Windows tests run against exports the same functions.
#ifndef RTD_HOST_ADAPTERS_FTDI_D2XX_H
#define RTD_HOST_ADAPTERS_FTDI_D2XX_H

#include <cstdint>

#if defined(_WIN32)
#define RTD_D2XX_API __stdcall
#else
#define RTD_D2XX_API
#endif

namespace rtd::host::ftdi::d2xx {

using Status = unsigned long; // FT_STATUS, 32 bits on Windows
using Dword = unsigned long;
using Handle = void*; // FT_HANDLE

constexpr Status kOk = 0;
constexpr Status kInvalidHandle = 1;
constexpr Status kDeviceNotFound = 2;
constexpr Status kDeviceNotOpened = 3;
constexpr Status kIoError = 4;
constexpr Status kInvalidParameter = 6;

// Device types FT_GetDeviceInfoDetail reports for the chips with an MPSSE here.
constexpr Dword kType2232H = 6;
constexpr Dword kType4232H = 7;
constexpr Dword kType232H = 8;

constexpr unsigned char kBitModeReset = 0x00;
constexpr unsigned char kBitModeMpsse = 0x02;
constexpr Dword kPurgeRx = 1;
constexpr Dword kPurgeTx = 2;
// Serial and description buffers of FT_GetDeviceInfoDetail.
constexpr int kSerialSize = 16;
constexpr int kDescriptionSize = 64;

extern "C" {
typedef Status(RTD_D2XX_API* CreateDeviceInfoListFn)(Dword* count);
typedef Status(RTD_D2XX_API* GetDeviceInfoDetailFn)(Dword index, Dword* flags, Dword* type,
                                                    Dword* id, Dword* locationId, char* serial,
                                                    char* description, Handle* handle);
typedef Status(RTD_D2XX_API* OpenFn)(int index, Handle* handle);
typedef Status(RTD_D2XX_API* ResetDeviceFn)(Handle handle);
typedef Status(RTD_D2XX_API* SetUsbParametersFn)(Handle handle, Dword inSize, Dword outSize);
typedef Status(RTD_D2XX_API* SetLatencyTimerFn)(Handle handle, unsigned char ms);
typedef Status(RTD_D2XX_API* SetBitModeFn)(Handle handle, unsigned char mask, unsigned char mode);
typedef Status(RTD_D2XX_API* PurgeFn)(Handle handle, Dword mask);
typedef Status(RTD_D2XX_API* WriteFn)(Handle handle, void* buffer, Dword size, Dword* written);
typedef Status(RTD_D2XX_API* ReadFn)(Handle handle, void* buffer, Dword size, Dword* read);
typedef Status(RTD_D2XX_API* GetQueueStatusFn)(Handle handle, Dword* queued);
typedef Status(RTD_D2XX_API* CloseFn)(Handle handle);
}

} // namespace rtd::host::ftdi::d2xx

#endif
