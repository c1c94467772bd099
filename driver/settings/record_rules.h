// The rules for handling settings records that arrive from callers and the spooler:
// which records may be read, when the settings cache is valid, and how an
// application's document settings are merged into the record handed out.
// Records are byte blocks: the 212-byte public part, then the 3856-byte private block.
#pragma once

#include <cstddef>
#include <cstdint>

#include "driver/settings/private_settings.h"
#include "driver/settings/public_devmode.h"

namespace qf {

// A caller's DEVMODE whose public part may be read: its dmSize covers the 212 bytes
// that the driver copies or merges from. Null is never readable.
bool HasReadablePublicPart(const uint8_t* record);

// The longest public part a record may carry: the platform's whole DEVMODE, which a
// spooler may keep in place of the driver's 212 bytes.
constexpr size_t kMaxPublicSize = 220;

// The record gate. Whether the `available` bytes at `record` hold a usable record of
// this driver: a public part of 212 to 220 bytes, then the 3856-byte private block
// (dmDriverExtra) whose first word is the settings signature, all of it inside the
// bytes available. Nothing outside them is read. Only such a record is used as a
// printer's default, edited by a sheet or copied into the settings cache.
bool IsUsableRecord(const uint8_t* record, size_t available);

// Why the gate refuses the record, in words for the people who set printers up; null
// when it is usable.
const char* RecordRefusal(const uint8_t* record, size_t available);

// The gate for a record that lies inside a buffer it came in (a printer's stored
// default inside the spooler's answer): it must start inside the buffer and end
// within it.
bool IsUsableRecordIn(const uint8_t* buffer, size_t bufferSize, const uint8_t* record);

// The gate for a caller's record, whose buffer is as long as the record claims
// (dmSize + dmDriverExtra).
bool IsDriverRecord(const uint8_t* record);

// Where the private block of a record starts: right after its public part (dmSize).
size_t PrivateOffset(const uint8_t* record);

// Copies a record of this driver into the driver's own 4068-byte layout: the first 212
// bytes of its public part, then its private block; the sizes name that layout.
void CopyDriverRecord(const uint8_t* record, uint8_t* out);

// Fills `out` (4068 bytes) with the driver default record: the default public part with
// `names` and `defaultsBlock` (3856 bytes), with both-sides printing on.
void BuildDefaultRecord(const uint8_t* defaultsBlock, const RecordNames& names, uint8_t* out);

// A defaults block (3856 bytes) that may stand as the driver default: it carries the
// settings signature.
bool IsUsableDefaultsBlock(const uint8_t* block);

// The driver's data file may stand as the defaults block: it is exactly 3856 bytes long
// (`fileSize`) and its block (`block`, the bytes read) carries the settings signature.
bool IsUsableDefaultsFile(uint64_t fileSize, const uint8_t* block);

// The cache holds a committed private block once its signature is set.
inline bool IsSettingsCacheValid(const PrivateSettings& cache) { return cache.signature == kSettingsSignature; }

// In the offline configuration the ribbon follows the user's pick from the fixed list:
// `ribbonType` of `settings` and of `cache` become RibbonFromManualIndex(manualRibbon).
// Nothing changes while `manualRibbon` is 0.
void ApplyOfflineRibbon(PrivateSettings& settings, PrivateSettings& cache);

// The document fields an application's DEVMODE may carry into the record handed out:
// orientation and copies, and the paper size when its dmFields names DM_PAPERSIZE.
void MergeDocumentFields(uint8_t* output, const uint8_t* input);

// After copying a caller's public part into a record of this driver, its size fields
// name this driver's parts again, so that nobody reads the private block as longer or
// shorter than it is.
void SetRecordSizes(uint8_t* record);

}  // namespace qf
