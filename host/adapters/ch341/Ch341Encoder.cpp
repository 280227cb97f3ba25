#include "Ch341Encoder.h"

#include <algorithm>

namespace rtd::host::ch341 {

namespace {

// Packets under construction: each opened with the stream byte and closed with END.
class PacketWriter {
public:
    // Room left for commands in the current packet, keeping one byte for END.
    size_t Room() const { return packets_.empty() ? 0 : kPacketSize - 1 - Current().bytes.size(); }
    // A command and its bytes never straddle two packets.
    void Put(std::initializer_list<uint8_t> bytes, size_t answers) {
        if (packets_.empty() || Room() < bytes.size())
            Open();
        Current().bytes.insert(Current().bytes.end(), bytes);
        Current().answerSize += answers;
    }
    void NewPacket() { Open(); }
    std::vector<Packet> Finish() {
        for (Packet& p : packets_)
            p.bytes.push_back(kEnd);
        return std::move(packets_);
    }

private:
    void Open() { packets_.push_back(Packet{{kStream}, 0}); }
    Packet& Current() { return packets_.back(); }
    const Packet& Current() const { return packets_.back(); }
    std::vector<Packet> packets_;
};

} // namespace

std::vector<Packet> EncodeWrite(uint8_t address, const uint8_t* data, int count) {
    PacketWriter w;
    w.Put({kStart}, 0);
    w.Put({kOut, address}, 1);
    for (int i = 0; i < count; ++i)
        w.Put({kOut, data[i]}, 1);
    w.Put({kStop}, 0);
    return w.Finish();
}

std::vector<Packet> EncodeRead(uint8_t address, int count) {
    PacketWriter w;
    w.Put({kStart}, 0);
    w.Put({kOut, address}, 1);
    // All bytes but the last are acknowledged; the last, read by a bare 0xC0, is not, which
    // tells the chip the read is over.
    int left = std::clamp(count, 0, kMaxRead);
    bool first = true;
    while (left > 0) {
        const int chunk = std::min(left, kMaxReadPerPacket - (first ? 1 : 0));
        left -= chunk;
        const bool last = left == 0;
        const int acknowledged = last ? chunk - 1 : chunk;
        if (!first)
            w.NewPacket(); // each packet's answer stays within one IN packet
        if (acknowledged > 0)
            w.Put({static_cast<uint8_t>(kIn | acknowledged)}, static_cast<size_t>(acknowledged));
        if (last)
            w.Put({kIn}, 1);
        first = false;
    }
    w.Put({kStop}, 0);
    return w.Finish();
}

Packet EncodeStop() {
    return Packet{{kStream, kStop, kEnd}, 0};
}

const std::vector<int>& SpeedsKhz() {
    static const std::vector<int> speeds = {20, 100, 400, 750};
    return speeds;
}

int SpeedSetting(int khz) {
    const std::vector<int>& speeds = SpeedsKhz();
    const auto it = std::find(speeds.begin(), speeds.end(), khz);
    return it == speeds.end() ? -1 : static_cast<int>(it - speeds.begin());
}

bool EncodeSpeed(int khz, Packet* packet) {
    const int k = SpeedSetting(khz);
    if (k < 0)
        return false;
    *packet = Packet{{kStream, static_cast<uint8_t>(kSpeed | k), kEnd}, 0};
    return true;
}

} // namespace rtd::host::ch341
