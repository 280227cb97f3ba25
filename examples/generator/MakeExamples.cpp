// Writes the example firmware files from a fixed seed, so that the files in examples/ can
// be made again byte for byte:
//   raw-image.bin        bank 0 only, 10 KiB
//   two-bank.bin         128 KiB with data in both banks (packed into two-bank.kvf by
//                        scripts/make-examples with isphost image pack)
//   app.hex              Intel HEX for bank 0
//   app_Extend.hex       Intel HEX for bank 1, found beside app.hex
//
// usage: make_examples OUTDIR
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr size_t kBank = 65536;

// A small deterministic generator (32-bit LCG): the same bytes on every system.
class Bytes {
public:
    explicit Bytes(uint32_t seed) : state_(seed) {}
    uint8_t Next() {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<uint8_t>(state_ >> 24);
    }

private:
    uint32_t state_;
};

// Fills [begin, end) of `image` with firmware-like bytes: code, with a run of 0xFF that
// covers one whole page so that a write skips it.
void FillFirmware(std::vector<uint8_t>& image, size_t begin, size_t end, uint32_t seed) {
    Bytes bytes(seed);
    for (size_t i = begin; i < end; ++i)
        image[i] = bytes.Next();
    const size_t gap = begin + 0x1000;
    for (size_t i = gap; i < gap + 0x100 && i < end; ++i)
        image[i] = 0xFF;
}

bool WriteBinary(const std::string& path, const uint8_t* data, size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

// Intel HEX with 16-byte data records and 16-bit addresses; runs of 0xFF are left out.
bool WriteHex(const std::string& path, const uint8_t* bank, size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    for (size_t address = 0; address < size; address += 16) {
        const size_t count = size - address < 16 ? size - address : 16;
        bool empty = true;
        for (size_t i = 0; i < count; ++i)
            empty = empty && bank[address + i] == 0xFF;
        if (empty)
            continue;
        unsigned sum = static_cast<unsigned>(count + (address >> 8) + (address & 0xFF));
        std::fprintf(f, ":%02X%04X00", static_cast<unsigned>(count),
                     static_cast<unsigned>(address));
        for (size_t i = 0; i < count; ++i) {
            std::fprintf(f, "%02X", bank[address + i]);
            sum += bank[address + i];
        }
        std::fprintf(f, "%02X\r\n", (0x100 - (sum & 0xFF)) & 0xFF);
    }
    std::fprintf(f, ":00000001FF\r\n");
    return std::fclose(f) == 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_examples OUTDIR\n");
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";

    std::vector<uint8_t> raw(10 * 1024, 0xFF);
    FillFirmware(raw, 0, raw.size(), 0x2120);

    std::vector<uint8_t> whole(2 * kBank, 0xFF);
    FillFirmware(whole, 0, 0x3000, 0x0B00);
    FillFirmware(whole, kBank, kBank + 0x2400, 0x0B01);

    std::vector<uint8_t> app(kBank, 0xFF), extend(kBank, 0xFF);
    FillFirmware(app, 0, 0x1800, 0x0A00);
    FillFirmware(extend, 0, 0x0C00, 0x0A01);

    const bool ok = WriteBinary(dir + "raw-image.bin", raw.data(), raw.size()) &&
                    WriteBinary(dir + "two-bank.bin", whole.data(), whole.size()) &&
                    WriteHex(dir + "app.hex", app.data(), 0x1800) &&
                    WriteHex(dir + "app_Extend.hex", extend.data(), 0x0C00);
    if (!ok) {
        std::fprintf(stderr, "make_examples: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
