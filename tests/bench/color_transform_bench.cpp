// The colour correction dialog recomputes its 100 x 100 sample at every slider movement.
// These benchmarks run the sample transform both ways, one adjustment call per pixel and
// channel against the per-amount tables, and print how many times faster the tables are
// for a cold transform (every table built in the call) and for the repaint after one
// slider movement (one table built, the others kept from the previous paint).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <new>
#include <type_traits>
#include <set>
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
void TransformPerPixel(const uint8_t* source, const int16_t* a, uint8_t* out) {
    for (size_t i = 0; i < kSamplePixelBytes; i += 3) {
        const uint8_t* p = source + i;
        uint8_t* o = out + i;
        o[0] = qf::AdjustContrast(qf::AdjustIntensity(p[0], a[qf::kColorBlueIntensity]), a[qf::kColorBlueContrast]);
        o[1] = qf::AdjustContrast(qf::AdjustIntensity(p[1], a[qf::kColorGreenIntensity]), a[qf::kColorGreenContrast]);
        o[2] = qf::AdjustContrast(qf::AdjustIntensity(p[2], a[qf::kColorRedIntensity]), a[qf::kColorRedContrast]);
    }
}

void PerPixel(benchmark::State& state) {
    const std::vector<uint8_t> picture = Picture();
    std::vector<uint8_t> pixels(kSamplePixelBytes);
    for (auto _ : state) {
        TransformPerPixel(picture.data(), kAmounts, pixels.data());
        benchmark::DoNotOptimize(pixels.data());
    }
}

// A first paint: nothing kept, every table built. The transform is made afresh in the
// same memory each time, as the dialog makes it once when it opens: what is measured is
// the transform, not the allocator.
void TablesCold(benchmark::State& state) {
    const std::vector<uint8_t> picture = Picture();
    auto storage = std::make_unique<std::aligned_storage_t<sizeof(qf::SampleTransform), alignof(qf::SampleTransform)>>();
    for (auto _ : state) {
        auto* transform = new (storage.get()) qf::SampleTransform();
        benchmark::DoNotOptimize(transform->Apply(picture.data(), kAmounts, true));
        transform->~SampleTransform();
    }
}

// A drag of the red contrast slider: every repaint reads the same picture with a new red
// contrast amount; the other tables and channels are kept from the paint before.
void TablesOneSlider(benchmark::State& state) {
    const std::vector<uint8_t> picture = Picture();
    int16_t amounts[qf::kColorAdjustCount];
    std::memcpy(amounts, kAmounts, sizeof amounts);
    auto transform = std::make_unique<qf::SampleTransform>();
    transform->Apply(picture.data(), amounts, true);
    int step = 0;
    for (auto _ : state) {
        amounts[qf::kColorRedContrast] = static_cast<int16_t>(-80 + (++step & 1));
        benchmark::DoNotOptimize(transform->Apply(picture.data(), amounts, true));
    }
    if (transform->RebuiltTables() != 1) state.SkipWithError("a repaint rebuilt more than the moved slider's table");
}

// Five runs each; the ratios are of the medians, which a busy machine disturbs least.
BENCHMARK(PerPixel)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(TablesCold)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(TablesOneSlider)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Keeps each benchmark's processor time per iteration (steadier than wall time on a
// shared machine): the median of its repetitions, or its one run when it has no
// repetitions (as with --benchmark_repetitions=1).
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            const std::string& name = run.run_name.function_name;
            if (median || (run.run_type == Run::RT_Iteration && !medians.count(name))) {
                cpuTime[name] = run.GetAdjustedCPUTime();
                if (median) medians.insert(name);
            }
        }
    }
    std::map<std::string, double> cpuTime;
    std::set<std::string> medians;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    // A ratio is printed only when both of its benchmarks ran (a --benchmark_filter can
    // leave either out).
    const auto& ns = reporter.cpuTime;
    const auto perPixel = ns.find("PerPixel");
    bool header = false;
    auto printRatio = [&](const char* label, const char* tables, int target) {
        const auto table = ns.find(tables);
        if (perPixel == ns.end() || table == ns.end() || table->second <= 0) return;
        if (!header) std::printf("\nSample transform, tables against one adjustment per pixel and channel:\n");
        header = true;
        std::printf("  %-40s %6.1f times faster (target %d)\n", label, perPixel->second / table->second, target);
    };
    printRatio("cold transform (every table built):", "TablesCold", 20);
    printRatio("repaint after one slider movement:", "TablesOneSlider", 50);
    return 0;
}
