// The encoder, track and single-feed jobs as the bytes they write, and where an encoder
// record may be stored.
#include "driver/encoder/encoder_jobs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "driver/encoder/encoder_rules.h"
#include "driver/settings/public_devmode.h"
#include "driver/settings/record_sizes.h"

namespace qf {
namespace {

using Job = std::vector<std::string>;

std::string Visible(const Job& job) {
    std::string out;
    for (const std::string& block : job) {
        out += '[';
        for (char c : block) out += c == '\x1B' ? std::string("\\e") : c == '\r' ? std::string("\\r") : std::string(1, c);
        out += ']';
    }
    return out;
}

EncoderSettings Settings(uint8_t type, uint16_t position, uint8_t coercivity, std::array<uint8_t, 3> modes,
                         std::array<uint8_t, 3> densities = {1, 0, 1}) {
    EncoderSettings s = BuiltInEncoderDefaults();
    s.encoderType = type;
    s.encoderPosition = position;
    s.coercivity = coercivity;
    for (int t = 0; t < 3; ++t) {
        s.tracks[t].mode = modes[t];
        s.tracks[t].density = densities[t];
    }
    return s;
}

const std::string W0 = "\x1B&W 0\r", W1 = "\x1B&W 1\r", C1 = "\x1B&C 1\r", C0 = "\x1B&C 0\r";
const std::string T1A = "\x1B&CDEW 1 A\r", T1Q = "\x1B&CDER 1 Q\r";
const std::string T2B = "\x1B&CDEW 2 B\r", T2R = "\x1B&CDER 2 R\r";
const std::string T3C = "\x1B&CDEW 3 C\r", T3S = "\x1B&CDER 3 S\r";
const std::string T3c1 = "\x1B&CDEW 3 c1\r", T3s1 = "\x1B&CDER 3 s1\r";
const std::string T2b1 = "\x1B&CDEW 2 b1\r", T2r1 = "\x1B&CDER 2 r1\r";
const std::string T1a2 = "\x1B&CDEW 1 a2\r", T1q2 = "\x1B&CDER 1 q2\r";
const std::string T1E3 = "\x1B&CDEW 1 E_3\r", T1U3 = "\x1B&CDER 1 U_3\r";
const std::string T2E5 = "\x1B&CDEW 2 E_5\r", T2U5 = "\x1B&CDER 2 U_5\r";
const std::string T3E7 = "\x1B&CDEW 3 E_7\r", T3U7 = "\x1B&CDER 3 U_7\r";
const std::string D1_210 = "\x1B&D 1 210\r", D1_75 = "\x1B&D 1 75\r", D2_75 = "\x1B&D 2 75\r",
                  D2_210 = "\x1B&D 2 210\r", D3_210 = "\x1B&D 3 210\r", D3_75 = "\x1B&D 3 75\r";

TEST(EncoderJobs, EncoderSetup) {
    struct Case {
        const char* name;
        EncoderSettings settings;
        Job job;
    };
    const Case cases[] = {
        {"ISO/JIS normal high", Settings(0, 1, 0, {0, 1, 2}), {W0, C1, T1A, T1Q, T2B, T2R, T3C, T3S}},
        {"ISO/JIS reversed low", Settings(0, 0, 1, {0, 1, 2}), {W1, C0, T1A, T1Q, T2B, T2R, T3C, T3S}},
        {"no change: no coercivity command", Settings(0, 1, 2, {0, 1, 2}), {W0, T1A, T1Q, T2B, T2R, T3C, T3S}},
        {"bit modes", Settings(0, 1, 2, {3, 5, 7}), {W0, T1E3, T1U3, T2E5, T2U5, T3E7, T3U7}},
        {"JIS2: no position, track 1 only", Settings(1, 0, 0, {1, 0, 0}), {C1, T1a2, T1q2}},
        {"JIS2 with a reversed position", Settings(1, 1, 2, {0, 1, 2}), {T1A, T1Q}},
        {"AAMVA: ISO1 ISO2 ISO1 whatever is stored", Settings(2, 1, 0, {6, 2, 9}),
         {W0, C1, T1A, T1Q, T2B, T2R, T3c1, T3s1}},
        {"AAMVA reversed, no change", Settings(2, 0, 2, {0, 1, 2}), {W1, T1A, T1Q, T2B, T2R, T3c1, T3s1}},
        {"a mode above 7 sends nothing for its track", Settings(0, 1, 2, {0, 8, 2}), {W0, T1A, T1Q, T3C, T3S}},
        {"coercivity above 2 as no change", Settings(0, 1, 9, {0, 1, 2}), {W0, T1A, T1Q, T2B, T2R, T3C, T3S}},
        {"position other than 1 as reversed", Settings(0, 7, 2, {0, 1, 2}), {W1, T1A, T1Q, T2B, T2R, T3C, T3S}},
        {"type above 2 as ISO/JIS", Settings(9, 1, 2, {0, 0, 0}), {W0, T1A, T1Q, T2b1, T2r1, T3c1, T3s1}},
    };
    for (const Case& c : cases) EXPECT_EQ(Visible(EncoderSetupJob(c.settings)), Visible(c.job)) << c.name;
}

TEST(EncoderJobs, TrackFormats) {
    EXPECT_EQ(Visible(TrackFormatsJob(Settings(0, 1, 2, {0, 1, 2}))), Visible({T1A, T1Q, T2B, T2R, T3C, T3S}));
    EXPECT_EQ(Visible(TrackFormatsJob(Settings(1, 1, 2, {0, 1, 2}))), Visible({T1A, T1Q}));
    EXPECT_EQ(Visible(TrackFormatsJob(Settings(2, 1, 2, {3, 0, 7}))), Visible({T1E3, T1U3, T2b1, T2r1, T3E7, T3U7}))
        << "the stored modes, for AAMVA too";
    EXPECT_EQ(Visible(TrackFormatsJob(Settings(0, 1, 2, {8, 200, 255}))), "");
}

TEST(EncoderJobs, TrackSetup) {
    struct Case {
        const char* name;
        EncoderSettings settings;
        Job job;
    };
    const Case cases[] = {
        {"ISO/JIS: formats, then the three densities in track order", Settings(0, 1, 2, {0, 1, 2}, {1, 0, 1}),
         {T1A, T1Q, T2B, T2R, T3C, T3S, D1_210, D2_75, D3_210}},
        {"ISO/JIS other densities", Settings(0, 1, 2, {0, 1, 2}, {0, 1, 0}),
         {T1A, T1Q, T2B, T2R, T3C, T3S, D1_75, D2_210, D3_75}},
        {"JIS2: track 1's formats and density only", Settings(1, 1, 2, {0, 1, 2}, {1, 1, 1}), {T1A, T1Q, D1_210}},
        {"AAMVA: the stored formats, track 1's density only", Settings(2, 1, 2, {3, 5, 7}, {0, 1, 1}),
         {T1E3, T1U3, T2E5, T2U5, T3E7, T3U7, D1_75}},
        {"a density other than 1 is 75 bpi", Settings(0, 1, 2, {0, 1, 2}, {2, 255, 1}),
         {T1A, T1Q, T2B, T2R, T3C, T3S, D1_75, D2_75, D3_210}},
        {"a mode above 7: no formats, its density still", Settings(0, 1, 2, {9, 1, 2}, {1, 0, 1}),
         {T2B, T2R, T3C, T3S, D1_210, D2_75, D3_210}},
    };
    for (const Case& c : cases) EXPECT_EQ(Visible(TrackSetupJob(c.settings)), Visible(c.job)) << c.name;
}

TEST(EncoderJobs, SingleFeed) {
    EXPECT_EQ(SingleFeedJob(1), Job({"\x1B" "FS 1\r", "\x1B" "ATM 1\r"}));
    EXPECT_EQ(SingleFeedJob(0), Job({"\x1B" "ATM 0\r"}));
    EXPECT_EQ(SingleFeedJob(1)[0].size(), 6u);
    EXPECT_EQ(SingleFeedJob(1)[1].size(), 7u);
    EXPECT_EQ(std::u16string(kEncoderJobName), u"VESTRIAENCODER");
    EXPECT_EQ(std::u16string(kSingleFeedJobName), u"VESTRIAATM");
}

}  // namespace
}  // namespace qf
