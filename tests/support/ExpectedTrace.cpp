#include "ExpectedTrace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <utility>

#include "ChipModel.h"
#include "ReferenceCrc.h"

namespace rtd::test {

namespace {

using sim::ChipModel;

bool Erased(const uint8_t* data, int count) {
    return std::all_of(data, data + count, [](uint8_t b) { return b == ChipModel::kErased; });
}

Events Word(const char* prefix, int value) {
    return {prefix + Hex(static_cast<uint8_t>(value >> 8)) + " " +
            Hex(static_cast<uint8_t>(value))};
}

class StepList {
public:
    TraceStep& Add(TraceStep::Kind kind, Events events, std::string failLine = "") {
        steps_.push_back({kind, std::move(events), std::move(failLine), bank_});
        return steps_.back();
    }
    // Waits, progress and lines join the plain step before them.
    void Plain(const Events& events) {
        if (steps_.empty() || steps_.back().kind != TraceStep::Plain)
            Add(TraceStep::Plain, {});
        steps_.back().events = std::move(steps_.back().events) + events;
    }
    void DoubleErase() {
        Add(TraceStep::Entry, EntryAttempt(0x40), "Enter isp error!");
        Plain({"S 50", "L Erase..."});
        Add(TraceStep::Erase, EraseSequence(0), "Erase fail!");
        Plain({"S 100"});
        Add(TraceStep::Exit, ExitIsp());
        Plain({"S 100"});
        Add(TraceStep::Entry, EntryAttempt(0x40), "Enter isp error!");
        Plain({"S 50"});
        Add(TraceStep::Erase, EraseSequence(0), "Erase fail!");
        Plain({"S 100"});
    }
    void SetBank(int bank) { bank_ = bank; }
    TraceSteps Take() { return std::move(steps_); }

private:
    TraceSteps steps_;
    int bank_ = 0;
};

} // namespace

std::vector<uint8_t> CountingImage(size_t length, uint8_t seed) {
    std::vector<uint8_t> image(length);
    for (size_t i = 0; i < length; ++i)
        image[i] = static_cast<uint8_t>((seed + i) % 0xFF);
    return image;
}

Events operator+(Events a, const Events& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Events Repeat(const Events& part, int times) {
    Events out;
    for (int i = 0; i < times; ++i)
        out = std::move(out) + part;
    return out;
}

std::string Hex(uint8_t value) {
    return HexBytes(&value, 1);
}

uint8_t IspStatus(int bank) {
    return bank == 1 ? 0x60 : 0x40;
}

Events ReadOf(uint8_t reg, uint8_t value) {
    return {"W 94 " + Hex(reg), "R 95 " + Hex(value)};
}

Events BusyReads(uint8_t reg, uint8_t status, int times, int waitMs) {
    Events one = ReadOf(reg, status);
    if (waitMs > 0)
        one.push_back("S " + std::to_string(waitMs));
    return Repeat(one, times);
}

Events SelectBank(int bank) {
    return {"W 94 90 " + Hex(IspStatus(bank))};
}

Events ExitIsp() {
    return {"W 94 90 00"};
}

Events EntryAttempt(uint8_t status) {
    Events out = SelectBank(0) + Events{"W 94 36 00", "S 1"} + ReadOf(0x90, status);
    if (status != 0x40)
        out.push_back("S 1");
    return out;
}

Events EraseStarted() {
    return {"W 94 90 C0", "S 50"};
}

Events EraseSequence(int busyReads) {
    return EraseStarted() + BusyReads(0x90, 0x80, busyReads, 10) + ReadOf(0x90, 0x40);
}

Events DoubleErase() {
    StepList steps;
    steps.DoubleErase();
    return Join(steps.Take());
}

Events PageSent(int page, const std::vector<uint8_t>& wire) {
    return {"W 96 92 " + Hex(static_cast<uint8_t>(page)) + " 00",
            "W 94 94 " + HexBytes(wire.data(), static_cast<int>(wire.size())), "S 1"};
}

Events PageSequence(int page, const std::vector<uint8_t>& wire, uint8_t status) {
    return PageSent(page, wire) + ReadOf(0x90, status);
}

Events CrcRangeSent(int bank, int start, int end) {
    return SelectBank(bank) + Word("W 96 92 ", start) + Word("W 96 A0 ", end) + Events{"S 10"};
}

Events CrcStarted() {
    return {"W 94 A2 80", "S 10"};
}

Events CrcSequence(int bank, int start, int end, uint8_t crc, uint8_t status) {
    return CrcRangeSent(bank, start, end) + ReadOf(0x90, status) + CrcStarted() +
           ReadOf(0xA2, 0x00) + ReadOf(0xA3, crc);
}

TraceSteps ProgramBankSteps(const uint8_t* window, int bank, bool eraseFirst, bool exitAfter) {
    constexpr int kPage = ChipModel::kPageSize;
    StepList steps;
    if (eraseFirst)
        steps.DoubleErase();
    steps.SetBank(bank);

    int length = ChipModel::kBankSize;
    while (length > 0 && window[length - 1] == ChipModel::kErased)
        --length;
    steps.Plain({"L Write..."});
    steps.Add(TraceStep::Select, SelectBank(bank));
    // Whole pages post their share after each page, the rest is one more page; a page
    // that would leave the flash erased is not sent but still counts.
    const int pages = length / kPage;
    for (int page = 0; page <= pages; ++page) {
        const uint8_t* data = window + page * kPage;
        const int count = page < pages ? kPage : length % kPage;
        if (!Erased(data, count)) {
            std::vector<uint8_t> wire(data, data + count);
            wire.resize(kPage, ChipModel::kErased);
            steps.Add(TraceStep::Page, PageSequence(page, wire, IspStatus(bank))).page = page;
        }
        steps.Plain({"P " + std::to_string(page < pages ? page * 100 / pages : 100)});
    }

    // The range ends at length - 1 in 16 bits: an empty window asks for the whole bank.
    steps.Plain({"S 20"});
    const int end = length - 1;
    const int covered = (end & 0xFFFF) + 1;
    const uint8_t crc = ReferenceCrc8(window, static_cast<size_t>(covered));
    steps
        .Add(TraceStep::CrcRange, CrcRangeSent(bank, 0, end) + ReadOf(0x90, IspStatus(bank)),
             "Read Crc fail!")
        .length = covered;
    steps.Add(TraceStep::CrcEngine, CrcStarted() + ReadOf(0xA2, 0x00), "Read Crc fail!");
    TraceStep& result = steps.Add(TraceStep::CrcResult, ReadOf(0xA3, crc), "Crc Error!");
    result.length = covered;
    result.crc = crc;
    steps.Plain({"S 50"});
    steps.Add(TraceStep::WriteOk, {}, "Write fail!");
    if (exitAfter)
        steps.Add(TraceStep::Exit, ExitIsp());
    return steps.Take();
}

Events Join(const TraceSteps& steps) {
    Events out;
    for (const TraceStep& step : steps)
        out = std::move(out) + step.events;
    return out;
}

Events ProgramBankTrace(const uint8_t* window, int bank, bool eraseFirst, bool exitAfter) {
    return Join(ProgramBankSteps(window, bank, eraseFirst, exitAfter));
}

namespace {

template <typename Keep> Events Filter(const Events& events, Keep keep) {
    Events out;
    std::copy_if(events.begin(), events.end(), std::back_inserter(out),
                 [&](const std::string& e) { return !e.empty() && keep(e[0]); });
    return out;
}

} // namespace

Events EventsOf(const Events& events, const std::string& kinds) {
    return Filter(events, [&](char kind) { return kinds.find(kind) != std::string::npos; });
}

Events WithoutWaits(const Events& events) {
    return Filter(events, [](char kind) { return kind != 'S'; });
}

Events BusEvents(const Events& events) {
    return EventsOf(events, "WR");
}

Events ListEvents(const Events& events) {
    return EventsOf(events, "LC");
}

std::vector<int> Percentages(const Events& events) {
    std::vector<int> out;
    for (const std::string& e : EventsOf(events, "P"))
        out.push_back(std::stoi(e.substr(2)));
    return out;
}

void ExpectTrace(const Events& actual, const Events& expected) {
    const size_t common = std::min(actual.size(), expected.size());
    size_t at = 0;
    while (at < common && actual[at] == expected[at])
        ++at;
    if (at == common && actual.size() == expected.size())
        return;
    std::string context;
    const size_t from = at >= 3 ? at - 3 : 0;
    for (size_t i = from; i < at + 3 && i < std::max(actual.size(), expected.size()); ++i) {
        context += "\n  [" + std::to_string(i) + "] got '" +
                   (i < actual.size() ? actual[i] : "<end>") + "' want '" +
                   (i < expected.size() ? expected[i] : "<end>") + "'";
    }
    ADD_FAILURE() << "traces differ at event " << at << " (got " << actual.size()
                  << " events, want " << expected.size() << ")" << context;
}

} // namespace rtd::test
