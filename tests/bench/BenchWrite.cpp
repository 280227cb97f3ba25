// A full two-bank Write of a 128 KiB raw image through the export, on the chip model,
// with the real platform: real sleeps, and on Windows the 1 ms timer period held for the
// command. The floor is the sum of the protocol's fixed waits for the same write, counted
// once on the recording platform; wall time over floor is the cost of everything else
// (sleep overshoot, bus calls, CRC, file loading). Argument 0 runs the same write with the
// command brackets left out (on Linux the thread's default timer slack, on Windows the
// default timer tick), for the figure beside it.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "ChipModel.h"
#include "Lifetime.h"
#include "Recorders.h"
#include "RecordingPlatform.h"
#include "TempDir.h"
#include "rtd2120/rtd2120.h"

namespace {

// Data in every page of both banks.
std::vector<uint8_t> TwoBankImage() {
    std::vector<uint8_t> image(131072);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<uint8_t>((i * 7 + i / 251) % 0xFF);
    return image;
}

bool WriteOnce(const std::string& path) {
    const AnsiStringPtr argument = AnsiStringNew(path.c_str());
    const bool ok = Write(argument);
    AnsiStringRelease(argument);
    return ok;
}

// The native platform without its command brackets.
class Unbracketed : public rtd::Platform {
public:
    void SleepMs(unsigned ms) override { native_.SleepMs(ms); }
    uint64_t MonotonicMs() override { return native_.MonotonicMs(); }
    void PostProgress(TForm* form, int percent) override { native_.PostProgress(form, percent); }
    std::string ReadIniString(const std::string& file, const std::string& section,
                              const std::string& key, const std::string& fallback) override {
        return native_.ReadIniString(file, section, key, fallback);
    }
    bool WriteIniString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value) override {
        return native_.WriteIniString(file, section, key, value);
    }
    void FlushIni(const std::string& file) override { native_.FlushIni(file); }
    std::string ExecutablePath() override { return native_.ExecutablePath(); }
    bool IsFolderSeparator(char c) override { return native_.IsFolderSeparator(c); }
    bool IsRegularFile(const std::string& path) override { return native_.IsRegularFile(path); }

private:
    rtd::Platform& native_ = rtd::NativePlatform();
};

void BM_TwoBankWrite(benchmark::State& state) {
    rtd::test::TempDir dir;
    const std::string path = dir.Write("bench.bin", TwoBankImage());
    rtd::test::FakeForm form;
    rtd::sim::ChipModel chip;
    PluginAttach();
    SetMainFrm(&form);
    SetIICInterFace(&chip);

    uint64_t floorMs = 0;
    {
        rtd::RecordingPlatform counting(nullptr);
        rtd::ScopedPlatform installed(&counting);
        if (!WriteOnce(path))
            state.SkipWithError("the write failed on the recording platform");
        floorMs = counting.TotalSleptMs();
    }
    {
        Unbracketed unbracketed;
        rtd::ScopedPlatform installed(state.range(0) ? nullptr : &unbracketed);
        for (auto _ : state)
            if (!WriteOnce(path))
                state.SkipWithError("the write failed");
    }
    PluginDetach();

    state.counters["floor_ms"] = static_cast<double>(floorMs);
    state.counters["pages"] = 512;
}
BENCHMARK(BM_TwoBankWrite)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
