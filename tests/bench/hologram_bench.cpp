// One side pass of the hologram image job (image bits to escaped packet bytes), the fast
// path against the bit-by-bit one, on a random and on a text-like card; prints how many
// times faster the fast path is.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "driver/overlay/hologram_stream.h"
#include "tests/support/hologram_transcription.h"

namespace {

using qf::HologramImage;

// Collects the side's bytes in a fixed buffer, as a job's write would take them.
struct Output {
    std::vector<uint8_t> bytes = std::vector<uint8_t>(1 << 18);
    size_t size = 0;
};
void Collect(void* context, const uint8_t* bytes, size_t length) {
    Output& out = *static_cast<Output*>(context);
    std::memcpy(out.bytes.data() + out.size, bytes, length);
    out.size += length;
}

std::unique_ptr<HologramImage> RandomCard() {
    auto image = std::make_unique<HologramImage>();
    std::mt19937 random(1);
    for (uint8_t& b : image->rows) b = static_cast<uint8_t>(random());
    return image;
}

// Lines of glyph-sized strokes on a white card, as a card of printed text.
std::unique_ptr<HologramImage> TextCard() {
    auto image = std::make_unique<HologramImage>();
    qf::FillHologramImage(*image, true);
    std::mt19937 random(2);
    for (uint32_t line = 0; line < 9; ++line) {
        const uint32_t top = 40 + 64 * line;
        for (uint32_t glyph = 0; glyph < 46; ++glyph) {
            const uint32_t left = 40 + 20 * glyph;
            for (int stroke = 0; stroke < 3; ++stroke) {
                const bool upright = random() % 2 == 0;
                const uint32_t x = left + random() % 14, y = top + random() % 20;
                const uint32_t w = upright ? 3 : 4 + random() % 10, h = upright ? 6 + random() % 18 : 3;
                for (uint32_t dy = 0; dy < h && y + dy < qf::kHologramHeight; ++dy) {
                    for (uint32_t dx = 0; dx < w && x + dx < qf::kHologramWidth; ++dx) {
                        qf::SetHologramDot(*image, x + dx, y + dy, false);
                    }
                }
            }
        }
    }
    return image;
}

template <void (*SidePass)(qf::HologramRle&, const qf::ByteSink&, const HologramImage&)>
void SidePassBenchmark(benchmark::State& state, const HologramImage* image) {
    auto rle = std::make_unique<qf::HologramRle>();
    Output out;
    for (auto _ : state) {
        out.size = 0;
        SidePass(*rle, {Collect, &out}, *image);
        benchmark::DoNotOptimize(out.bytes.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * qf::kHologramImageBytes));
    state.counters["stream_bytes"] = static_cast<double>(out.size);
}

// The best of the repetitions: on a shared machine the least disturbed run.
double Smallest(const std::vector<double>& values) { return *std::min_element(values.begin(), values.end()); }

// Prints the console report and keeps each benchmark's best processor time for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> best;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (!run.error_occurred && run.run_type == Run::RT_Aggregate && run.aggregate_name == "best") {
                best[run.run_name.function_name] = run.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv) {
    const auto random = RandomCard();
    const auto text = TextCard();
    const std::pair<const char*, const HologramImage*> cards[] = {{"random", random.get()}, {"text", text.get()}};
    for (const auto& [name, image] : cards) {
        benchmark::RegisterBenchmark((std::string("SidePass/fast/") + name).c_str(),
                                     SidePassBenchmark<qf::WriteHologramSide>, image)
            ->Repetitions(5)
            ->ComputeStatistics("best", Smallest);
        benchmark::RegisterBenchmark((std::string("SidePass/bit_by_bit/") + name).c_str(),
                                     SidePassBenchmark<qf::WriteHologramSideBitByBit>, image)
            ->Repetitions(5)
            ->ComputeStatistics("best", Smallest);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const auto& [name, image] : cards) {
        const auto fast = reporter.best.find(std::string("SidePass/fast/") + name);
        const auto plain = reporter.best.find(std::string("SidePass/bit_by_bit/") + name);
        if (fast == reporter.best.end() || plain == reporter.best.end() || fast->second <= 0) continue;
        std::printf("side pass, %s card: fast %.1f us, bit by bit %.1f us (best processor time), %.1f times faster\n",
                    name,
                    fast->second / 1000.0, plain->second / 1000.0, plain->second / fast->second);
    }
    benchmark::Shutdown();
    return 0;
}
