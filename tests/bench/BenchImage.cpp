// Loading firmware files as a Write does: Intel HEX text into a bank window, and a packed
// file decoded into the whole 128 KiB image. Throughput is in bytes of the file read.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "HexText.h"
#include "Hextobin.h"
#include "Kvfpack.h"
#include "Kvfunit.h"
#include "TempDir.h"

namespace {

// Firmware-like bytes: no long runs, every nibble value used.
std::vector<uint8_t> Firmware(size_t size) {
    std::vector<uint8_t> data(size);
    uint32_t x = 0x12345678;
    for (uint8_t& b : data) {
        x = x * 1103515245u + 12345u;
        b = static_cast<uint8_t>(x >> 16);
    }
    return data;
}

void BM_HexRead(benchmark::State& state) {
    const auto length = static_cast<size_t>(state.range(0));
    rtd::test::TempDir dir;
    const std::string text = rtd::test::HexFileFor(Firmware(length), length);
    const std::string path = dir.Write("bench.hex", text);
    std::vector<uint8_t> window(65536);
    for (auto _ : state) {
        uint32_t count = 0;
        benchmark::DoNotOptimize(LoadImageFile(path, window.data(), count, 65536));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
    state.counters["image_bytes"] = static_cast<double>(length);
}
BENCHMARK(BM_HexRead)->Arg(4096)->Arg(65536)->Unit(benchmark::kMicrosecond);

void BM_PackedLoad(benchmark::State& state) {
    rtd::test::TempDir dir;
    std::vector<uint8_t> image(131072, 0xFF);
    const std::vector<uint8_t> firmware = Firmware(static_cast<size_t>(state.range(0)));
    std::copy(firmware.begin(), firmware.end(), image.begin());
    const std::vector<uint8_t> file = rtd::image::PackKvfFile(image.data());
    const std::string path = dir.Write("bench.kvf", file);
    std::vector<uint8_t> decoded(131072);
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadKvfFile(path, decoded.data()));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.size()));
    state.counters["file_bytes"] = static_cast<double>(file.size());
}
// Firmware in the first half only, and in the whole image.
BENCHMARK(BM_PackedLoad)->Arg(65536)->Arg(131072)->Unit(benchmark::kMicrosecond);

} // namespace
