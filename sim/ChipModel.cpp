#include "ChipModel.h"

#include <algorithm>

#include "ChipRegisters.h"
#include "ChipState.h"

namespace rtd::sim {

namespace {

using namespace rtd::image;

using State = ChipModel::State;

// CRC-8 with polynomial 0x07, initial value 0, no reflection, no final XOR: what the
// chip's CRC engine computes. An empty range (end before start) gives 0.
uint8_t RangeCrc(const std::vector<uint8_t>& bank, uint16_t start, uint16_t end) {
    uint8_t crc = 0;
    for (uint32_t a = start; a <= end && start <= end; ++a) {
        crc ^= bank[a];
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<uint8_t>((crc & 0x80) ? (crc << 1) ^ 0x07 : crc << 1);
    }
    return crc;
}

// Ends every busy period; the work they stood for counts as done.
void ClearBusy(State& s) {
    s.erase.Clear();
    s.page.Clear();
    s.crcRange.Clear();
    s.crcEngine.Clear();
    s.erasing.pending = false;
    s.programming.pending = false;
}

// Notes what `length` bytes of `bank` from `start` (wrapping within the bank) hold before
// work on them starts; a cut leaves the first `done` of them as the work made them.
void Begin(State& s, Unfinished& work, int bank, uint16_t start, int length, int done) {
    const std::vector<uint8_t>& flash = s.flash[static_cast<size_t>(bank)];
    work.pending = true;
    work.bank = bank;
    work.start = start;
    work.done = done;
    work.before.resize(static_cast<size_t>(length));
    for (int i = 0; i < length; ++i)
        work.before[static_cast<size_t>(i)] = flash[static_cast<uint16_t>(start + i)];
}

// The power goes: work not yet reported done stays half done, every register is lost,
// and the chip answers nothing until the power comes back.
void CutPower(State& s) {
    for (Unfinished* work : {&s.erasing, &s.programming}) {
        if (!work->pending)
            continue;
        std::vector<uint8_t>& flash = s.flash[static_cast<size_t>(work->bank)];
        for (size_t i = static_cast<size_t>(work->done); i < work->before.size(); ++i)
            flash[static_cast<uint16_t>(work->start + i)] = work->before[i];
    }
    ClearBusy(s);
    s.powered = false;
    s.inIsp = false;
    s.bank = 0;
    s.control = 0x00;
    s.named = 0x00;
    s.address = 0;
    s.crcEnd = 0;
    s.crcResult = 0x00;
}

// True while the chip has power; cuts it when transfer number `transfer` is the fault's.
bool StillPowered(State& s, int transfer) {
    if (s.powered && s.faults.powerCutAt >= 0 && transfer >= s.faults.powerCutAt)
        CutPower(s);
    return s.powered;
}

// Bank 0 is erased first: a cut before the erase reports done leaves bank 1 as it was.
void Erase(State& s) {
    s.programming.pending = false; // a new command finishes the work before it
    Begin(s, s.erasing, 1, 0, ChipModel::kBankSize, 0);
    for (auto& bank : s.flash)
        std::fill(bank.begin(), bank.end(), ChipModel::kErased);
    ++s.counters.erases;
    s.erase.Start(s.faults.eraseBusy, ChipModel::kEraseMs, s.clock);
}

void LeaveIsp(State& s) {
    s.inIsp = false;
    s.control = kLeaveIsp;
    ++s.counters.ispExits;
    ClearBusy(s);
}

// Outside ISP mode register 0x90 only latches the control value that the entry trigger
// checks; inside it selects the bank, starts an erase or leaves.
void WriteControl(State& s, uint8_t value) {
    if (!s.inIsp) {
        s.control = value;
        return;
    }
    switch (value) {
    case kIspBank0:
        s.bank = 0;
        break;
    case kIspBank1:
        s.bank = 1;
        break;
    case kStartErase:
        Erase(s);
        break;
    case kLeaveIsp:
        LeaveIsp(s);
        break;
    default:
        break; // not a command this chip knows
    }
}

void TriggerEntry(State& s) {
    ++s.counters.entryAttempts;
    if (s.inIsp || s.control != kIspBank0 || s.faults.noIsp ||
        s.counters.entryAttempts < s.faults.ispAfter)
        return;
    s.inIsp = true;
    s.bank = 0;
    ++s.counters.ispEntries;
    ClearBusy(s);
}

// A stuck byte keeps whatever it holds. A cut before the page reports done leaves its
// first half programmed and its second half as it was.
void ProgramPage(State& s, const uint8_t* page) {
    if (!s.inIsp)
        return;
    s.erasing.pending = false; // a new command finishes the work before it
    Begin(s, s.programming, s.bank, s.address, ChipModel::kPageSize, ChipModel::kPageSize / 2);
    std::vector<uint8_t>& bank = s.flash[static_cast<size_t>(s.bank)];
    for (int i = 0; i < ChipModel::kPageSize; ++i) {
        const uint16_t a = static_cast<uint16_t>(s.address + i);
        if (!s.faults.IsStuck(s.bank, a))
            bank[a] = ChipModel::Programmed(bank[a], page[i]);
    }
    ++s.counters.pagesProgrammed;
    s.page.Start(s.faults.PageBusyFor(s.address >> 8), ChipModel::kPageMs, s.clock);
}

void StartCrc(State& s) {
    if (!s.inIsp)
        return;
    ++s.counters.crcComputations;
    s.crcResult = RangeCrc(s.flash[static_cast<size_t>(s.bank)], s.address, s.crcEnd);
    s.crcEngine.Start(s.faults.crcBusy, ChipModel::kCrcMs, s.clock);
}

void WriteRegister(State& s, int count, const uint8_t* data) {
    const uint8_t reg = data[0];
    if (count == 1) {
        s.named = reg;
        return;
    }
    if (reg == kPageData) {
        if (count == 1 + ChipModel::kPageSize)
            ProgramPage(s, data + 1);
        return;
    }
    if (count != 2)
        return;
    if (reg == kIspControl)
        WriteControl(s, data[1]);
    else if (reg == kEntry && data[1] == kEnterIsp)
        TriggerEntry(s);
    else if (reg == kCrcControl && data[1] == kStartCrc)
        StartCrc(s);
}

void WriteAddressPort(State& s, int count, const uint8_t* data) {
    if (count != 3)
        return;
    const uint16_t value = static_cast<uint16_t>(data[1] << 8 | data[2]);
    if (data[0] == kFlashAddress) {
        s.address = value;
    } else if (data[0] == kCrcEnd) {
        s.crcEnd = value;
        s.crcRange.Start(s.faults.crcRangeBusy, ChipModel::kCrcRangeMs, s.clock);
    }
}

uint8_t ReadRegister(State& s) {
    switch (s.named) {
    case kIspControl: {
        if (!s.inIsp)
            return 0x00;
        uint8_t status = s.bank == 1 ? kIspBank1 : kIspBank0;
        // Every busy period sees this read, so all of them count down together.
        // A read that shows the work done is what makes it done for a power cut.
        if (s.erase.Poll(s.clock))
            status |= kEraseBusy;
        else
            s.erasing.pending = false;
        if (s.page.Poll(s.clock))
            status |= kPageBusy;
        else
            s.programming.pending = false;
        if (s.crcRange.Poll(s.clock))
            status |= kCrcRangeBusy;
        return status;
    }
    case kCrcControl:
        return s.inIsp && s.crcEngine.Poll(s.clock) ? kCrcBusy : 0x00;
    case kCrcResult:
        return s.crcResult;
    default:
        return 0x00;
    }
}

} // namespace

ChipModel::ChipModel() : state_(std::make_shared<State>()) {}

bool ChipModel::Acknowledges(uint8_t address) {
    // The address byte is the first thing of the next transfer that meets a power cut.
    State& s = *state_;
    return StillPowered(s, s.counters.writes + s.counters.reads) &&
           (address == kRegisterWrite || address == kAddressPort || address == kRegisterRead);
}

bool ChipModel::IicWrite(uint8_t address, int count, const uint8_t* data) {
    State& s = *state_;
    const int transfer = s.counters.writes + s.counters.reads;
    ++s.counters.writes;
    if (!StillPowered(s, transfer) || s.faults.dropWrites || count < 1 || !data)
        return false;
    if (address == kRegisterWrite)
        WriteRegister(s, count, data);
    else if (address == kAddressPort)
        WriteAddressPort(s, count, data);
    else
        return false;
    return true;
}

bool ChipModel::IicRead(uint8_t address, int count, uint8_t* data) {
    State& s = *state_;
    const int transfer = s.counters.writes + s.counters.reads;
    ++s.counters.reads;
    if (!StillPowered(s, transfer)) {
        // No acknowledgement; the pull-ups hold the data line high.
        if (data && count > 0)
            std::fill(data, data + count, uint8_t{0xFF});
        return false;
    }
    if (s.faults.readFail || address != kRegisterRead || count < 1 || !data)
        return false;
    for (int i = 0; i < count; ++i)
        data[i] = ReadRegister(s);
    return true;
}

bool ChipModel::AddFault(const std::string& fault, std::string* error) {
    return ParseFault(fault, state_->faults, error);
}

void ChipModel::ClearFaults() {
    State& s = *state_;
    s.faults = Faults{};
    // Work a fault drew out finishes as a healthy chip's would.
    for (BusyPeriod* period : {&s.erase, &s.page, &s.crcRange, &s.crcEngine})
        period->EndReads();
}

void ChipModel::PowerCycle() {
    State& s = *state_;
    if (s.powered)
        CutPower(s);
    s.faults.powerCutAt = -1; // spent
    s.powered = true;
}

bool ChipModel::Powered() const {
    return state_->powered;
}

void ChipModel::SetClock(std::function<uint64_t()> nowMs) {
    state_->clock = std::move(nowMs);
}

bool ChipModel::InIsp() const {
    return state_->inIsp;
}

int ChipModel::SelectedBank() const {
    return state_->bank;
}

const Counters& ChipModel::Stats() const {
    return state_->counters;
}

std::vector<uint8_t>& ChipModel::Flash(int bank) {
    return state_->flash.at(static_cast<size_t>(bank));
}

const std::vector<uint8_t>& ChipModel::Flash(int bank) const {
    return state_->flash.at(static_cast<size_t>(bank));
}

} // namespace rtd::sim
