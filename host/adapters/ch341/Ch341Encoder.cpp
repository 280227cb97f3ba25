#include "Ch341Encoder.h"

#include <algorithm>

namespace rtd::host::ch341 {

namespace {

// Packets chained into one transfer: each opened with the stream byte and closed with
// END, every one but the last filled up to its 32 bytes, so the next starts on the
// boundary the adapter splits the transfer at.
class PacketWriter {
public:
    // A command and its bytes never straddle two packets.
    void Put(std::initializer_list<uint8_t> bytes, size_t answers = 0) {
        if (Room() < bytes.size())
            Open();
        out_.bytes.insert(out_.bytes.end(), bytes);
        out_.answerSize += answers;
    }
    // 0x80+n blocks, as long as the packets have room for.
    void PutBlocks(const uint8_t* data, int count) {
        while (count > 0) {
            if (Room() < 2)
                Open();
            const int n = std::min({count, static_cast<int>(Room()) - 1, int{kLengthMask}});
            out_.bytes.push_back(static_cast<uint8_t>(kOut | n));
            out_.bytes.insert(out_.bytes.end(), data, data + n);
            data += n;
            count -= n;
        }
    }
    void NewPacket() { Open(); }
    Transfer Finish() {
        out_.bytes.push_back(kEnd);
        return std::move(out_);
    }

private:
    // Room left in the current packet, keeping one byte for END.
    size_t Room() const {
        return out_.bytes.empty() ? 0 : kPacketSize - 1 - (out_.bytes.size() - opened_);
    }
    void Open() {
        if (!out_.bytes.empty())
            out_.bytes.resize(opened_ + kPacketSize, kEnd); // END, then what the adapter ignores
        opened_ = out_.bytes.size();
        out_.bytes.push_back(kStream);
    }
    Transfer out_;
    size_t opened_ = 0; // where the current packet starts
};

} // namespace

Transfer EncodeWrite(uint8_t address, const uint8_t* data, int count) {
    PacketWriter w;
    w.Put({kStart});
    w.Put({kOut, address}, 1);
    w.PutBlocks(data, count);
    w.Put({kStop});
    return w.Finish();
}

Transfer EncodeRead(uint8_t address, int count) {
    PacketWriter w;
    w.Put({kStart});
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
    w.Put({kStop});
    return w.Finish();
}

Transfer EncodeStop() {
    return Transfer{{kStream, kStop, kEnd}, 0};
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

bool EncodeSpeed(int khz, Transfer* transfer) {
    const int k = SpeedSetting(khz);
    if (k < 0)
        return false;
    *transfer = Transfer{{kStream, static_cast<uint8_t>(kSpeed | k), kEnd}, 0};
    return true;
}

} // namespace rtd::host::ch341
