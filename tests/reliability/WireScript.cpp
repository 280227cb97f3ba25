#include "WireScript.h"

#include <algorithm>
#include <utility>

#include "Ispunit.h"

namespace rtd::test {

namespace {

constexpr int kPageSize = 256;
constexpr int kWindow = 65536;

bool AllErased(const uint8_t* data, int count) {
    return std::all_of(data, data + count, [](uint8_t b) { return b == 0xFF; });
}

int TrailingTrim(const uint8_t* window) {
    int length = kWindow;
    while (length > 0 && window[length - 1] == 0xFF)
        --length;
    return length;
}

uint8_t High(int value) {
    return static_cast<uint8_t>(value >> 8);
}

uint8_t Low(int value) {
    return static_cast<uint8_t>(value);
}

} // namespace

Step& WireScript::Add(StepKind kind, std::string line) {
    Step step;
    step.kind = kind;
    step.line = std::move(line);
    step.first = next_;
    steps_.push_back(std::move(step));
    return steps_.back();
}

void WireScript::Write(Step& step, uint8_t address, std::vector<uint8_t> bytes, bool trigger) {
    if (trigger)
        step.trigger = next_;
    step.wire.push_back({false, address, std::move(bytes)});
    ++next_;
}

// A register read: name it on 0x94, read one byte from 0x95.
void WireScript::Read(Step& step, uint8_t reg, uint8_t value) {
    Write(step, 0x94, {reg});
    step.read = next_;
    step.wire.push_back({true, 0x95, {value}});
    ++next_;
}

void WireScript::Select(Step& step, int bank) {
    Write(step, 0x94, {0x90, static_cast<uint8_t>(bank == 1 ? 0x60 : 0x40)});
}

void WireScript::Line(const std::string& text) {
    Add(StepKind::Line, text);
}

void WireScript::Entry(const std::string& failLine) {
    Step& step = Add(StepKind::Entry, failLine);
    Select(step, 0);
    Write(step, 0x94, {0x36, 0x00}, true);
    Read(step, 0x90, 0x40);
}

void WireScript::Erase(const std::string& failLine) {
    Step& step = Add(StepKind::Erase, failLine);
    Write(step, 0x94, {0x90, 0xC0}, true);
    Read(step, 0x90, 0x40);
}

void WireScript::Exit() {
    Step& step = Add(StepKind::Exit);
    Write(step, 0x94, {0x90, 0x00});
}

void WireScript::ProgramBank(const uint8_t* window, int bank, bool eraseFirst, bool exitAfter) {
    const uint8_t status = bank == 1 ? 0x60 : 0x40; // ISP mode, with the bank-1 bit
    if (eraseFirst) {
        Entry("Enter isp error!");
        Line("Erase...");
        Erase("Erase fail!");
        Exit();
        Entry("Enter isp error!");
        Erase("Erase fail!");
    }
    const int length = TrailingTrim(window);
    Line("Write...");
    Select(Add(StepKind::Select), bank);
    for (int start = 0; start < length; start += kPageSize) {
        const int count = std::min(kPageSize, length - start);
        if (AllErased(window + start, count))
            continue; // never sent
        Step& page = Add(StepKind::Page);
        page.bank = bank;
        page.page = start / kPageSize;
        page.data.assign(window + start, window + start + count);
        page.data.resize(kPageSize, 0xFF);
        Write(page, 0x96, {0x92, static_cast<uint8_t>(page.page), 0x00});
        std::vector<uint8_t> frame{0x94};
        frame.insert(frame.end(), page.data.begin(), page.data.end());
        Write(page, 0x94, std::move(frame), true);
        Read(page, 0x90, status);
    }

    Step& range = Add(StepKind::CrcRange, "Read Crc fail!");
    range.bank = bank;
    range.length = length;
    Select(range, bank);
    Write(range, 0x96, {0x92, 0x00, 0x00});
    Write(range, 0x96, {0xA0, High(length - 1), Low(length - 1)}, true);
    Read(range, 0x90, status);

    Step& engine = Add(StepKind::CrcEngine, "Read Crc fail!");
    engine.bank = bank;
    Write(engine, 0x94, {0xA2, 0x80}, true);
    Read(engine, 0xA2, 0x00);

    Step& result = Add(StepKind::CrcResult, "Crc Error!");
    result.bank = bank;
    result.length = length;
    result.localCrc = TIspUnit::Crc8(window, length);
    Read(result, 0xA3, result.localCrc);

    Add(StepKind::WriteOk, "Write fail!");
    if (exitAfter)
        Exit();
}

Events WireScript::HealthyPrefix(int count) const {
    Events out;
    for (const Step& step : steps_)
        for (const Transfer& t : step.wire) {
            if (static_cast<int>(out.size()) >= count)
                return out;
            out.push_back(std::string(t.read ? "R " : "W ") + HexBytes(&t.address, 1) + " " +
                          HexBytes(t.bytes.data(), static_cast<int>(t.bytes.size())));
        }
    return out;
}

Events BusEvents(const Events& events) {
    Events out;
    for (const std::string& e : events)
        if (e[0] == 'W' || e[0] == 'R')
            out.push_back(e);
    return out;
}

} // namespace rtd::test
