// Reading and merging settings records.
#include "driver/settings/record_rules.h"

#include <cstring>

#include "driver/settings/record_sizes.h"

namespace qf {
namespace {

constexpr uint32_t kDmPaperSize = 0x00000002;

template <typename T>
T Read(const uint8_t* record, size_t offset) {
    T value;
    std::memcpy(&value, record + offset, sizeof value);
    return value;
}

template <typename T>
void Write(uint8_t* record, size_t offset, T value) {
    std::memcpy(record + offset, &value, sizeof value);
}

template <typename T>
void CopyField(uint8_t* to, const uint8_t* from, size_t offset) {
    Write(to, offset, Read<T>(from, offset));
}

}  // namespace

bool HasReadablePublicPart(const uint8_t* record) {
    return record && Read<uint16_t>(record, offsetof(PublicDevmode, dmSize)) >= kPublicSize;
}

const char* RecordRefusal(const uint8_t* record, size_t available) {
    constexpr size_t kSizeFields = offsetof(PublicDevmode, dmDriverExtra) + sizeof(uint16_t);
    if (!record || available < kSizeFields) return "too short to hold the record's sizes";
    const size_t publicSize = Read<uint16_t>(record, offsetof(PublicDevmode, dmSize));
    if (publicSize < size_t(kPublicSize)) return "its public part (dmSize) is shorter than 212 bytes";
    if (publicSize > kMaxPublicSize) return "its public part (dmSize) is longer than any DEVMODE (220 bytes)";
    if (Read<uint16_t>(record, offsetof(PublicDevmode, dmDriverExtra)) != kPrivateSize)
        return "its private block (dmDriverExtra) is not 3856 bytes";
    if (available < publicSize + kPrivateSize) return "it claims more bytes than there are";
    if (Read<uint16_t>(record, publicSize + offsetof(PrivateSettings, signature)) != kSettingsSignature)
        return "its private block lacks the settings signature";
    return nullptr;
}

bool IsUsableRecord(const uint8_t* record, size_t available) { return RecordRefusal(record, available) == nullptr; }

bool IsUsableRecordIn(const uint8_t* buffer, size_t bufferSize, const uint8_t* record) {
    if (!buffer || !record) return false;
    const uintptr_t start = reinterpret_cast<uintptr_t>(buffer);
    const uintptr_t at = reinterpret_cast<uintptr_t>(record);
    if (at < start || at - start >= bufferSize) return false;
    return IsUsableRecord(record, bufferSize - (at - start));
}

bool IsDriverRecord(const uint8_t* record) {
    if (!record) return false;
    const size_t claimed = size_t(Read<uint16_t>(record, offsetof(PublicDevmode, dmSize))) +
                           Read<uint16_t>(record, offsetof(PublicDevmode, dmDriverExtra));
    return IsUsableRecord(record, claimed);
}

size_t PrivateOffset(const uint8_t* record) { return Read<uint16_t>(record, offsetof(PublicDevmode, dmSize)); }

void CopyDriverRecord(const uint8_t* record, uint8_t* out) {
    std::memmove(out, record, kPublicSize);
    std::memmove(out + kPublicSize, record + PrivateOffset(record), kPrivateSize);
    SetRecordSizes(out);
}

void BuildDefaultRecord(const uint8_t* defaultsBlock, const RecordNames& names, uint8_t* out) {
    const PublicDevmode defaults = DriverDefaultPublicPart(names);
    std::memcpy(out, &defaults, kPublicSize);
    std::memcpy(out + kPublicSize, defaultsBlock, kPrivateSize);
    Write<int16_t>(out, kPublicSize + offsetof(PrivateSettings, printBothSides), 1);
}

bool IsUsableDefaultsBlock(const uint8_t* block) {
    return block && Read<uint16_t>(block, offsetof(PrivateSettings, signature)) == kSettingsSignature;
}

bool IsUsableDefaultsFile(uint64_t fileSize, const uint8_t* block) {
    return fileSize == static_cast<uint64_t>(kPrivateSize) && IsUsableDefaultsBlock(block);
}

void ApplyOfflineRibbon(PrivateSettings& settings, PrivateSettings& cache) {
    if (settings.manualRibbon == 0) return;
    const uint8_t ribbon = RibbonFromManualIndex(settings.manualRibbon);
    settings.ribbonType = ribbon;
    cache.ribbonType = ribbon;
}

void MergeDocumentFields(uint8_t* output, const uint8_t* input) {
    CopyField<int16_t>(output, input, offsetof(PublicDevmode, dmOrientation));
    CopyField<int16_t>(output, input, offsetof(PublicDevmode, dmCopies));
    if (Read<uint32_t>(input, offsetof(PublicDevmode, dmFields)) & kDmPaperSize) {
        CopyField<int16_t>(output, input, offsetof(PublicDevmode, dmPaperWidth));
        CopyField<int16_t>(output, input, offsetof(PublicDevmode, dmPaperLength));
    }
}

void SetRecordSizes(uint8_t* record) {
    Write<uint16_t>(record, offsetof(PublicDevmode, dmSize), kPublicSize);
    Write<uint16_t>(record, offsetof(PublicDevmode, dmDriverExtra), kPrivateSize);
}

}  // namespace qf
