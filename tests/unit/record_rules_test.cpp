// Which records may be read, and how a caller's fields merge into a record.
#include "driver/settings/record_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace qf {
namespace {

template <typename T>
void Put(std::vector<uint8_t>& record, size_t offset, T value) {
    std::memcpy(record.data() + offset, &value, sizeof value);
}
template <typename T>
T Get(const std::vector<uint8_t>& record, size_t offset) {
    T value;
    std::memcpy(&value, record.data() + offset, sizeof value);
    return value;
}

// A record whose public part is `publicSize` bytes, with the signature after it.
std::vector<uint8_t> Record(uint16_t publicSize, uint16_t privateSize, uint16_t signature) {
    std::vector<uint8_t> record(publicSize + kPrivateSize + 16, 0);
    Put<uint16_t>(record, offsetof(PublicDevmode, dmSize), publicSize);
    Put<uint16_t>(record, offsetof(PublicDevmode, dmDriverExtra), privateSize);
    Put<uint16_t>(record, publicSize, signature);
    return record;
}

TEST(RecordRules, WhichRecordsAreTheDriversOwn) {
    struct Case {
        uint16_t publicSize, privateSize, signature;
        bool expected;
    } cases[] = {
        {212, 3856, 0x5A45, true},  {220, 3856, 0x5A45, true},  // the platform's longer public part
        {211, 3856, 0x5A45, false}, {212, 3855, 0x5A45, false}, {212, 3857, 0x5A45, false},
        {212, 0, 0x5A45, false},    {212, 3856, 0x5A44, false}, {220, 3856, 0, false},
    };
    for (const Case& c : cases) {
        const auto record = Record(c.publicSize, c.privateSize, c.signature);
        EXPECT_EQ(IsDriverRecord(record.data()), c.expected)
            << c.publicSize << "/" << c.privateSize << "/" << std::hex << c.signature;
    }
    EXPECT_FALSE(IsDriverRecord(nullptr));
}

TEST(RecordRules, ALongerPublicPartIsCopiedIntoTheDriversLayout) {
    auto record = Record(220, 3856, 0x5A45);
    Put<int16_t>(record, offsetof(PublicDevmode, dmCopies), 7);
    Put<uint8_t>(record, 220 + offsetof(PrivateSettings, ribbonType), 9);
    std::vector<uint8_t> out(kRecordSize, 0xCD);
    CopyDriverRecord(record.data(), out.data());
    EXPECT_EQ(Get<uint16_t>(out, offsetof(PublicDevmode, dmSize)), 212);
    EXPECT_EQ(Get<uint16_t>(out, offsetof(PublicDevmode, dmDriverExtra)), 3856);
    EXPECT_EQ(Get<int16_t>(out, offsetof(PublicDevmode, dmCopies)), 7);
    EXPECT_EQ(Get<uint16_t>(out, 212), 0x5A45);
    EXPECT_EQ(out[212 + offsetof(PrivateSettings, ribbonType)], 9);
    EXPECT_TRUE(IsDriverRecord(out.data()));
}

TEST(RecordRules, ReadablePublicParts) {
    for (uint16_t size : {0, 68, 211, 212, 220}) {
        auto record = Record(212, 0, 0);
        Put<uint16_t>(record, offsetof(PublicDevmode, dmSize), size);
        EXPECT_EQ(HasReadablePublicPart(record.data()), size >= 212) << size;
    }
    EXPECT_FALSE(HasReadablePublicPart(nullptr));
}

TEST(RecordRules, MergeCarriesOrientationCopiesAndThePaperSizeWhenNamed) {
    for (bool paperSize : {false, true}) {
        auto output = Record(212, 3856, 0x5A45);
        auto input = Record(212, 3856, 0x5A45);
        Put<uint32_t>(input, offsetof(PublicDevmode, dmFields), paperSize ? 0x2 : 0x1);
        Put<int16_t>(input, offsetof(PublicDevmode, dmOrientation), 1);
        Put<int16_t>(input, offsetof(PublicDevmode, dmCopies), 12);
        Put<int16_t>(input, offsetof(PublicDevmode, dmPaperWidth), 700);
        Put<int16_t>(input, offsetof(PublicDevmode, dmPaperLength), 400);
        Put<int16_t>(input, offsetof(PublicDevmode, dmColor), 1);
        MergeDocumentFields(output.data(), input.data());
        EXPECT_EQ(Get<int16_t>(output, offsetof(PublicDevmode, dmOrientation)), 1);
        EXPECT_EQ(Get<int16_t>(output, offsetof(PublicDevmode, dmCopies)), 12);
        EXPECT_EQ(Get<int16_t>(output, offsetof(PublicDevmode, dmPaperWidth)), paperSize ? 700 : 0);
        EXPECT_EQ(Get<int16_t>(output, offsetof(PublicDevmode, dmPaperLength)), paperSize ? 400 : 0);
        EXPECT_EQ(Get<int16_t>(output, offsetof(PublicDevmode, dmColor)), 0) << "nothing else is merged";
    }
}

TEST(RecordRules, TheOfflineRibbonFollowsTheUsersPick) {
    PrivateSettings settings{}, cache{};
    settings.ribbonType = cache.ribbonType = 15;
    ApplyOfflineRibbon(settings, cache);
    EXPECT_EQ(settings.ribbonType, 15) << "nothing changes while the ribbon is learnt from the printer";
    settings.manualRibbon = 4;
    ApplyOfflineRibbon(settings, cache);
    EXPECT_EQ(settings.ribbonType, 12);
    EXPECT_EQ(cache.ribbonType, 12);
}

}  // namespace
}  // namespace qf
