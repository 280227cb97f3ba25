// TIspUnit: the plug-in's one engine object and the RTD2120's ISP commands over I2C.
#ifndef RTD_ISP_ISPUNIT_H
#define RTD_ISP_ISPUNIT_H

#include <cstdint>

#include "Ispmsgunit.h"

// The ISP commands over I2C, without the setting: the engine object is one, and a host
// that talks to the chip itself (isphost verify) makes its own, so the protocol exists
// once.
class TIspPort : public TIspMsgUnit {
public:
    TStrings* InfoList = nullptr;
    TIicInterface* IicInterface = nullptr;

    TIspPort() = default;
    TIspPort(const TIspPort&) = delete;
    TIspPort& operator=(const TIspPort&) = delete;

    void SetInfoList(TStrings* list) { InfoList = list; }
    TStrings* GetInfoList() const { return InfoList; }
    void SetIicInterface(TIicInterface* bus) { IicInterface = bus; }

    // ISP operations. Each transfer is one call of IicInterface; results come only from
    // the status bytes read back.
    void SelectBank(int bank);
    bool EnterIsp();
    bool EraseChip();
    bool ProgramPage(const uint8_t* data, int page, int count);
    bool WriteImage(const uint8_t* data, int length, int bank);
    static uint8_t Crc8(const uint8_t* data, int length);
    bool ReadChipCrc(int bank, int start, int end, uint8_t& crc);
    void ExitIsp();

private:
    // One bus write; nothing is sent while no bus object was handed over.
    void Send(uint8_t address, const uint8_t* bytes, int count);
    void Send(uint8_t address, uint8_t first, uint8_t second);
    // Address port: register, then the low 16 bits of value, high byte first.
    void SendAddress(uint8_t reg, int value);
    // Names the register on 0x94, then reads one byte from 0x95; `unread` is what a read
    // the bus object cannot complete gives.
    uint8_t ReadRegister(uint8_t reg, uint8_t unread = 0xFF);
    // Reads reg until the busy bits read 0, at most `reads` times, waiting waitMs after
    // each busy read (after the last one too only when waitAfterLast). False when the limit
    // ran out.
    bool PollUntilClear(uint8_t reg, uint8_t busy, int reads, unsigned waitMs, bool waitAfterLast);
};

class TIspUnit : public TIspPort {
public:
    bool AutoFireSecond = false;

    // Reads AutoFireSecond from the settings file.
    TIspUnit();
    // Writes AutoFireSecond back to the settings file. Never touches a host object.
    ~TIspUnit();
};

// The library-global engine object; null before load and after unload.
extern TIspUnit* IspUnit;

// Message list helpers: do nothing when no list was handed over.
void AddInfo(const char* text);
void ClearInfo();

#endif
