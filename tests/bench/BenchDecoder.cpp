// The packed-body decoder alone, the shipped one beside the bit-at-a-time reference, on a
// real image body and on bodies that are hard for table lookups. Throughput is in bytes of
// decoded output; "body_rate" is the body read per second.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "BitText.h"
#include "Kvfunit.h"
#include "VlcReference.h"
#include "Vlcunit.h"

namespace {

using Bytes = std::vector<uint8_t>;
using rtd::test::kVlcCodeText;

// The body of examples/two-bank.kvf: firmware in both banks, a page of 0xFF in each.
Bytes ExampleBody() {
    std::ifstream in(RTD_EXAMPLES_DIR "/two-bank.kvf", std::ios::binary);
    const Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (file.size() <= static_cast<size_t>(rtd::image::kKvfHeaderSize))
        return {};
    return Bytes(file.begin() + rtd::image::kKvfHeaderSize, file.end());
}

// `count` repeats of `bits`.
Bytes Repeated(const std::string& bits, int count) {
    std::string all;
    for (int i = 0; i < count; ++i)
        all += bits;
    return rtd::test::BitsToBytes(all);
}

Bytes RandomBody(size_t size) {
    Bytes body(size);
    uint32_t x = 0x9E3779B9u;
    for (uint8_t& b : body) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        b = static_cast<uint8_t>(x);
    }
    return body;
}

struct Body {
    const char* name;
    Bytes bytes;
    int32_t maxBytes;
};

std::vector<Body> Bodies() {
    // The 8-bit codes, each followed by a filler: 16 bits per nibble, one code a lookup.
    std::string slow;
    for (int v : {0x3, 0x5, 0x6, 0xA, 0xB, 0xD, 0xE})
        slow += std::string(kVlcCodeText[v]) + rtd::test::kVlcFillerText;
    return {
        {"two-bank.kvf", ExampleBody(), rtd::image::kWholeImageSize},
        {"random bits", RandomBody(256 * 1024), TVLCDecode::kNoLimit},
        {"8-bit codes and fillers", Repeated(slow, 37449), TVLCDecode::kNoLimit}, // 128 KiB out
        {"1-bit codes", Bytes(32 * 1024, 0xFF), TVLCDecode::kNoLimit},
        {"257-bit codes", Repeated("0000001" + std::string(250, '1'), 4096), TVLCDecode::kNoLimit},
        {"zero bits", Bytes(1024 * 1024, 0x00), TVLCDecode::kNoLimit},
    };
}

template <class Decoder> void BM_Decode(benchmark::State& state, const Body* body) {
    int64_t out = 0;
    for (auto _ : state) {
        Decoder decoder;
        decoder.SetInput(body->bytes.data(), static_cast<int32_t>(body->bytes.size()));
        int32_t count = 0;
        benchmark::DoNotOptimize(decoder.Decode(count, body->maxBytes));
        out += count;
    }
    state.SetBytesProcessed(out);
    state.counters["body_rate"] = benchmark::Counter(
        static_cast<double>(state.iterations() * static_cast<int64_t>(body->bytes.size())),
        benchmark::Counter::kIsRate, benchmark::Counter::kIs1024);
    state.counters["out_bytes"] = static_cast<double>(out / state.iterations());
}

const bool registered = [] {
    static const std::vector<Body> bodies = Bodies();
    for (const Body& body : bodies) {
        benchmark::RegisterBenchmark((std::string("BM_Decode/") + body.name).c_str(),
                                     BM_Decode<TVLCDecode>, &body)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((std::string("BM_DecodeReference/") + body.name).c_str(),
                                     BM_Decode<rtd::test::VlcReference>, &body)
            ->Unit(benchmark::kMicrosecond);
    }
    return true;
}();

} // namespace
