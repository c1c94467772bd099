// Which records may be read, and how a caller's fields merge into a record.
#include "driver/settings/record_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
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
        {221, 3856, 0x5A45, false}, {0xFFFF, 3856, 0x5A45, false},  // longer than any DEVMODE
    };
    for (const Case& c : cases) {
        const auto record = Record(c.publicSize, c.privateSize, c.signature);
        EXPECT_EQ(IsDriverRecord(record.data()), c.expected)
            << c.publicSize << "/" << c.privateSize << "/" << std::hex << c.signature;
    }
    EXPECT_FALSE(IsDriverRecord(nullptr));
}

// The record gate over the corruption matrix: every public size, private size, with and
// without the signature, in a buffer exactly as long as the record claims or shorter.
// Each buffer is allocated at its exact length, so a read past it stops the test.
TEST(RecordRules, TheGateReadsOnlyTheBytesThere) {
    const uint16_t publicSizes[] = {0, 1, 68, 211, 212, 213, 220, 0xFFFF};
    const uint16_t privateSizes[] = {0, 1, 3855, 3856, 3857, 0xFFFF};
    for (uint16_t publicSize : publicSizes)
        for (uint16_t privateSize : privateSizes)
            for (bool signed_ : {false, true})
                for (size_t shortBy : {size_t(0), size_t(1), size_t(3856)}) {
                    const size_t claimed = size_t(publicSize) + privateSize;
                    const size_t size = std::max<size_t>(72, claimed > shortBy ? claimed - shortBy : 0);
                    std::unique_ptr<uint8_t[]> bytes(new uint8_t[size]());
                    std::memcpy(bytes.get() + offsetof(PublicDevmode, dmSize), &publicSize, 2);
                    std::memcpy(bytes.get() + offsetof(PublicDevmode, dmDriverExtra), &privateSize, 2);
                    const uint16_t signature = kSettingsSignature;
                    if (signed_ && size_t(publicSize) + 2 <= size) std::memcpy(bytes.get() + publicSize, &signature, 2);
                    const bool usable = publicSize >= 212 && publicSize <= 220 && privateSize == 3856 && signed_ &&
                                        size >= claimed;
                    EXPECT_EQ(IsUsableRecord(bytes.get(), size), usable)
                        << publicSize << "/" << privateSize << " signed " << signed_ << " size " << size;
                    // The record at the end of a larger buffer it came in.
                    std::unique_ptr<uint8_t[]> buffer(new uint8_t[size + 100]());
                    std::memcpy(buffer.get() + 100, bytes.get(), size);
                    EXPECT_EQ(IsUsableRecordIn(buffer.get(), size + 100, buffer.get() + 100), usable);
                }
    EXPECT_FALSE(IsUsableRecord(nullptr, 4068));
}

TEST(RecordRules, AStoredRecordMustStartInsideItsBuffer) {
    std::vector<uint8_t> buffer(300 + kRecordSize, 0);
    uint8_t* record = buffer.data() + 300;
    Put<uint16_t>(buffer, 300 + offsetof(PublicDevmode, dmSize), 212);
    Put<uint16_t>(buffer, 300 + offsetof(PublicDevmode, dmDriverExtra), 3856);
    Put<uint16_t>(buffer, 300 + 212, kSettingsSignature);
    EXPECT_TRUE(IsUsableRecordIn(buffer.data(), buffer.size(), record));
    EXPECT_FALSE(IsUsableRecordIn(buffer.data(), buffer.size() - 1, record)) << "its last byte outside";
    EXPECT_FALSE(IsUsableRecordIn(record + 1, buffer.size() - 301, record)) << "before the buffer";
    EXPECT_FALSE(IsUsableRecordIn(buffer.data(), 300, record)) << "after the buffer";
    EXPECT_FALSE(IsUsableRecordIn(buffer.data(), buffer.size(), nullptr));
}

TEST(RecordRules, TheDefaultRecordPrintsOnBothSides) {
    std::vector<uint8_t> block(kPrivateSize, 0);
    Put<uint16_t>(block, 0, kSettingsSignature);
    EXPECT_TRUE(IsUsableDefaultsBlock(block.data()));
    std::vector<uint8_t> out(kRecordSize, 0xCD);
    BuildDefaultRecord(block.data(), {u"Card printer", u"Card"}, out.data());
    EXPECT_TRUE(IsUsableRecord(out.data(), out.size()));
    EXPECT_EQ(Get<int16_t>(out, kPublicSize + offsetof(PrivateSettings, printBothSides)), 1);
    Put<uint16_t>(block, 0, 0);
    EXPECT_FALSE(IsUsableDefaultsBlock(block.data()));
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
