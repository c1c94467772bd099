// The colour correction dialog recomputes its 100 x 100 sample at every slider movement.
// These benchmarks run the sample transform both ways, one adjustment call per pixel and
// channel against the per-amount tables, and print how many times faster the tables are
// for a cold transform (every table built in the call) and for the repaint after one
// slider movement (one table built, the others kept from the previous paint).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "driver/imaging/color_adjust.h"

namespace {

using qf::kSamplePixelBytes;

// Every amount away from 0, so that no adjustment is skipped.
const int16_t kAmounts[qf::kColorAdjustCount] = {-30, 20, -45, 60, 35, -15, 70, -80};

std::vector<uint8_t> Picture() {
    std::vector<uint8_t> pixels(kSamplePixelBytes);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>((i * 37 + i / 300) & 0xFF);
    return pixels;
}

// The transform as the adjustments define it: both calls for every pixel and channel.
void TransformPerPixel(uint8_t* pixels, const int16_t* a) {
    for (size_t i = 0; i < kSamplePixelBytes; i += 3) {
        uint8_t* p = pixels + i;
        p[0] = qf::AdjustIntensity(p[0], a[qf::kColorBlueIntensity]);
        p[1] = qf::AdjustIntensity(p[1], a[qf::kColorGreenIntensity]);
        p[2] = qf::AdjustIntensity(p[2], a[qf::kColorRedIntensity]);
        p[0] = qf::AdjustContrast(p[0], a[qf::kColorBlueContrast]);
        p[1] = qf::AdjustContrast(p[1], a[qf::kColorGreenContrast]);
        p[2] = qf::AdjustContrast(p[2], a[qf::kColorRedContrast]);
    }
}

void PerPixel(benchmark::State& state) {
    const std::vector<uint8_t> picture = Picture();
    std::vector<uint8_t> pixels(kSamplePixelBytes);
    for (auto _ : state) {
        std::memcpy(pixels.data(), picture.data(), kSamplePixelBytes);
        TransformPerPixel(pixels.data(), kAmounts);
        benchmark::DoNotOptimize(pixels.data());
    }
}

void TablesCold(benchmark::State& state) {
    const std::vector<uint8_t> picture = Picture();
    std::vector<uint8_t> pixels(kSamplePixelBytes);
    for (auto _ : state) {
        qf::SampleTables tables;
        std::memcpy(pixels.data(), picture.data(), kSamplePixelBytes);
        qf::TransformSample(pixels.data(), kAmounts, true, tables);
        benchmark::DoNotOptimize(pixels.data());
    }
}

// A drag of the red contrast slider: every repaint sees a new red contrast amount.
void TablesOneSlider(benchmark::State& state) {
    const std::vector<uint8_t> picture = Picture();
    std::vector<uint8_t> pixels(kSamplePixelBytes);
    int16_t amounts[qf::kColorAdjustCount];
    std::memcpy(amounts, kAmounts, sizeof amounts);
    qf::SampleTables tables;
    std::memcpy(pixels.data(), picture.data(), kSamplePixelBytes);
    qf::TransformSample(pixels.data(), amounts, true, tables);
    int step = 0;
    for (auto _ : state) {
        amounts[qf::kColorRedContrast] = static_cast<int16_t>(-80 + (++step & 1));
        std::memcpy(pixels.data(), picture.data(), kSamplePixelBytes);
        qf::TransformSample(pixels.data(), amounts, true, tables);
        benchmark::DoNotOptimize(pixels.data());
    }
}

BENCHMARK(PerPixel)->Unit(benchmark::kMicrosecond);
BENCHMARK(TablesCold)->Unit(benchmark::kMicrosecond);
BENCHMARK(TablesOneSlider)->Unit(benchmark::kMicrosecond);

// Keeps each benchmark's processor time per iteration (steadier than wall time on a
// shared machine) for the ratios printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                nanoseconds[run.run_name.function_name] = run.cpu_accumulated_time / double(run.iterations) * 1e9;
    }
    std::map<std::string, double> nanoseconds;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const auto& ns = reporter.nanoseconds;
    auto ratio = [&](const char* tables) {
        const auto perPixel = ns.find("PerPixel"), table = ns.find(tables);
        return perPixel == ns.end() || table == ns.end() || table->second <= 0 ? 0.0
                                                                               : perPixel->second / table->second;
    };
    std::printf("\nSample transform, tables against one adjustment per pixel and channel:\n");
    std::printf("  cold transform (every table built):      %6.1f times faster (target 20)\n", ratio("TablesCold"));
    std::printf("  repaint after one slider movement:       %6.1f times faster (target 50)\n",
                ratio("TablesOneSlider"));
    return 0;
}
