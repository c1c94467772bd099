// The device-capability table, walked as data.
#include "driver/settings/capabilities.h"

#include <gtest/gtest.h>

namespace qf {
namespace {

struct Row {
    uint32_t capability;
    bool haveDevmode;
    int16_t orientation;
    CapabilityAnswer expected;
};

constexpr CapabilityOutput kNone = CapabilityOutput::kNone, kWord = CapabilityOutput::kWord,
                           kPoint = CapabilityOutput::kPoint, kString = CapabilityOutput::kString,
                           kFormName = CapabilityOutput::kFormName;

const Row kRows[] = {
    {1, false, 0, {0x07805F03, kNone, 0, 0}},
    {2, false, 0, {1, kWord, 258, 0}},
    {3, false, 0, {1, kPoint, 541, 866}},
    {3, true, 1, {1, kPoint, 541, 866}},
    {3, true, 2, {1, kPoint, 866, 541}},
    {4, false, 0, {0, kPoint, 1, 1}},
    {5, false, 0, {0, kNone, 0, 0}},
    {5, true, 1, {0, kPoint, 541, 866}},
    {5, true, 2, {0, kPoint, 866, 541}},
    {5, true, 0, {0, kPoint, 866, 541}},
    {6, false, 0, {1, kWord, 256, 0}},
    {7, false, 0, {1, kNone, 0, 0}},
    {8, false, 0, {212, kNone, 0, 0}},
    {9, false, 0, {3856, kNone, 0, 0}},
    {10, false, 0, {0x0401, kNone, 0, 0}},
    {11, false, 0, {1, kNone, 0, 0}},
    {12, false, 0, {1, kString, 2018, 0}},
    {13, false, 0, {1, kPoint, 300, 300}},
    {14, false, 0, {0, kNone, 0, 0}},
    {15, false, 0, {1, kNone, 0, 0}},
    {16, false, 0, {1, kFormName, 0, 0}},
    {17, false, 0, {90, kNone, 0, 0}},
    {18, false, 0, {999, kNone, 0, 0}},
    {19, false, 0, {0, kNone, 0, 0}},
    {20, false, 0, {-1, kNone, 0, 0}},
    {21, false, 0, {-1, kNone, 0, 0}},
    {28, false, 0, {-1, kNone, 0, 0}},
    {29, false, 0, {1, kFormName, 0, 0}},
    {30, false, 0, {0, kNone, 0, 0}},
    {31, false, 0, {-1, kNone, 0, 0}},
    {32, false, 0, {1, kNone, 0, 0}},
    {0, false, 0, {-1, kNone, 0, 0}},
    {33, false, 0, {-1, kNone, 0, 0}},
    {0xFFFF, false, 0, {-1, kNone, 0, 0}},
    // Only the low 16 bits name the capability.
    {0x12340012, false, 0, {999, kNone, 0, 0}},
    {0xFFFF0003, true, 2, {1, kPoint, 866, 541}},
    {0x00010000, false, 0, {-1, kNone, 0, 0}},
};

TEST(Capabilities, TableAnswers) {
    for (const Row& row : kRows) {
        const CapabilityAnswer got = AnswerCapability(row.capability, row.haveDevmode, row.orientation);
        SCOPED_TRACE(testing::Message() << "capability 0x" << std::hex << row.capability << std::dec
                                        << " devmode " << row.haveDevmode << " orientation "
                                        << row.orientation);
        EXPECT_EQ(got.result, row.expected.result);
        EXPECT_EQ(static_cast<int>(got.output), static_cast<int>(row.expected.output));
        if (row.expected.output != kNone) {
            EXPECT_EQ(got.first, row.expected.first);
            EXPECT_EQ(got.second, row.expected.second);
        }
    }
}

TEST(Capabilities, BinNamesFitTheirSlot) {
    EXPECT_EQ(CapabilityStringChars(12), 24);
    EXPECT_EQ(CapabilityStringChars(0x10000 | 12), 24);
    EXPECT_EQ(CapabilityStringChars(16), 32);
    EXPECT_EQ(CapabilityStringChars(29), 32);
}

}  // namespace
}  // namespace qf
