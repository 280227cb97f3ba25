// CRC-8 over one whole bank window, the largest range a write verifies.
#include <benchmark/benchmark.h>

#include <vector>

#include "Ispunit.h"

namespace {

void BM_Crc8(benchmark::State& state) {
    const int length = static_cast<int>(state.range(0));
    std::vector<uint8_t> data(static_cast<size_t>(length));
    for (int i = 0; i < length; ++i)
        data[static_cast<size_t>(i)] = static_cast<uint8_t>(i * 31 + 7);
    for (auto _ : state)
        benchmark::DoNotOptimize(TIspUnit::Crc8(data.data(), length));
    state.SetBytesProcessed(state.iterations() * length);
}
BENCHMARK(BM_Crc8)->Arg(256)->Arg(65536);

} // namespace
