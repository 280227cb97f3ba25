#include "IspFixture.h"

#include <algorithm>
#include <filesystem>
#include <utility>

namespace rtd::test {

bool ScriptedBus::IicWrite(uint8_t address, int count, const uint8_t* data) {
    if (address == 0x94 && count == 1)
        named_ = data[0];
    return true;
}

bool ScriptedBus::IicRead(uint8_t, int count, uint8_t* data) {
    if (count != 1)
        return false;
    std::deque<uint8_t>& queue = queued_[named_];
    if (!queue.empty()) {
        data[0] = queue.front();
        queue.pop_front();
        return true;
    }
    const auto idle = idle_.find(named_);
    if (idle == idle_.end())
        return false;
    data[0] = idle->second;
    return true;
}

void ScriptedBus::Queue(uint8_t reg, std::vector<uint8_t> values) {
    std::deque<uint8_t>& queue = queued_[reg];
    queue.insert(queue.end(), values.begin(), values.end());
}

std::vector<uint8_t> Bytes(int count, uint8_t value) {
    return std::vector<uint8_t>(static_cast<size_t>(count), value);
}

std::vector<uint8_t> CountingImage(int length, uint8_t seed) {
    std::vector<uint8_t> image(static_cast<size_t>(length));
    for (int i = 0; i < length; ++i)
        image[static_cast<size_t>(i)] = static_cast<uint8_t>((seed + i) % 0xFF);
    return image;
}

uint8_t BitwiseCrc8(const uint8_t* data, size_t length) {
    uint8_t crc = 0;
    for (size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<uint8_t>((crc & 0x80) ? (crc << 1) ^ 0x07 : crc << 1);
    }
    return crc;
}

std::vector<int> Percentages(const Events& events) {
    std::vector<int> out;
    for (const std::string& e : events)
        if (e.rfind("P ", 0) == 0)
            out.push_back(std::stoi(e.substr(2)));
    return out;
}

Events ListEvents(const Events& events) {
    Events out;
    for (const std::string& e : events)
        if (e[0] == 'L' || e[0] == 'C')
            out.push_back(e);
    return out;
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

Events ReadOf(uint8_t reg, uint8_t value) {
    return {"W 94 " + Hex(reg), "R 95 " + Hex(value)};
}

Events BusyReads(uint8_t reg, uint8_t status, int times, int waitMs) {
    Events one = ReadOf(reg, status);
    if (waitMs > 0)
        one.push_back("S " + std::to_string(waitMs));
    return Repeat(one, times);
}

Events EntryAttempt(uint8_t status) {
    Events out = Events{"W 94 90 40", "W 94 36 00", "S 1"} + ReadOf(0x90, status);
    if (status != 0x40)
        out.push_back("S 1");
    return out;
}

Events EraseSequence(int busyReads) {
    return Events{"W 94 90 C0", "S 50"} + BusyReads(0x90, 0x80, busyReads, 10) + ReadOf(0x90, 0x40);
}

Events PageSent(int page, const std::vector<uint8_t>& wire) {
    return {"W 96 92 " + Hex(static_cast<uint8_t>(page)) + " 00",
            "W 94 94 " + HexBytes(wire.data(), static_cast<int>(wire.size())), "S 1"};
}

Events PageSequence(int page, const std::vector<uint8_t>& wire) {
    return PageSent(page, wire) + ReadOf(0x90, 0x40);
}

Events CrcSequence(int bank, int start, int end, uint8_t crc) {
    const auto word = [](int v) {
        return Hex(static_cast<uint8_t>(v >> 8)) + " " + Hex(static_cast<uint8_t>(v));
    };
    return Events{bank == 1 ? "W 94 90 60" : "W 94 90 40", "W 96 92 " + word(start),
                  "W 96 A0 " + word(end), "S 10"} +
           ReadOf(0x90, 0x40) + Events{"W 94 A2 80", "S 10"} + ReadOf(0xA2, 0x00) +
           ReadOf(0xA3, crc);
}

IspTest::IspTest() {
    // Keep the settings file the engine object reads and writes out of the build tree.
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "rtd-isp-tests";
    std::filesystem::create_directories(folder);
    platform.SetExecutablePath((folder / "host.exe").string());
    unit = std::make_unique<TIspUnit>();
    unit->SetIicInterface(&bus);
    unit->SetInfoList(&list);
    unit->SetMainFrm(&form);
    IspUnit = unit.get();
}

IspTest::~IspTest() {
    IspUnit = nullptr;
    unit.reset();
}

void IspTest::ExpectTrace(const Events& actual, const Events& expected) {
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
