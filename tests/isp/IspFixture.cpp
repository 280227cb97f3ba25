#include "IspFixture.h"

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

} // namespace rtd::test
