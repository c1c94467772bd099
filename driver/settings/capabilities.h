// The answers of the device-capability query, as data: what each capability index
// returns and what it writes to the caller's output buffer.
#pragma once

#include <cstdint>

#include "driver/settings/record_sizes.h"

namespace qf {

// What a capability writes to the caller's buffer.
enum class CapabilityOutput : uint8_t {
    kNone,       // nothing is written
    kWord,       // one 16-bit value (paper id, bin id)
    kPoint,      // a pair of 32-bit integers
    kString,     // a string-table entry, in the user's language
    kFormName,   // the card form's name, the same bytes in every language
};

struct CapabilityAnswer {
    int32_t result;          // the value the query returns
    CapabilityOutput output;
    int32_t first;           // kWord: the value; kPoint: x; kString: string id
    int32_t second;          // kPoint: y
};

// Capability indexes the table answers (the platform's DC_ values).
constexpr uint16_t kDcFields = 1, kDcPapers = 2, kDcPaperSize = 3, kDcMinExtent = 4,
                   kDcMaxExtent = 5, kDcBins = 6, kDcDuplex = 7, kDcSize = 8, kDcExtra = 9,
                   kDcVersion = 10, kDcDriver = 11, kDcBinNames = 12,
                   kDcEnumResolutions = 13, kDcFileDependencies = 14, kDcTrueType = 15,
                   kDcPaperNames = 16, kDcOrientation = 17, kDcCopies = 18,
                   kDcBinAdjust = 19, kDcEmfCompliant = 20, kDcMediaReady = 29,
                   kDcStaple = 30, kDcPrintRatePpm = 31, kDcColorDevice = 32;

constexpr int32_t kCardPaperId = 258;     // the driver's own card form
constexpr int32_t kCardFeederBinId = 256; // the single card feeder bin
constexpr int32_t kCardWidth = 866;       // tenths of a millimetre, long edge
constexpr int32_t kCardHeight = 541;      // tenths of a millimetre, short edge

// The string id of the bin's name, which the user picks from a list. The paper names are
// the card form's name of the records (kCardFormName): an application hands a name from
// that list back as a record's form name, which the spooler matches in every language.
constexpr int32_t kStrBinName = 2018;     // "Card Feeder"

// Characters a capability string occupies in the caller's buffer: bin names are
// 24-character slots, paper and media names 64-character slots; the module's
// texts are loaded into 32 characters.
constexpr int kLoadedNameChars = 32;
constexpr int kBinNameSlotChars = 24;

// The answer for a capability argument. Only its low 16 bits name the capability.
// `haveDevmode` and `orientation` describe the DEVMODE the caller passed, if any
// (orientation 1 portrait, 2 landscape).
CapabilityAnswer AnswerCapability(uint32_t capability, bool haveDevmode, int16_t orientation);

// Characters the answer's string may occupy in the caller's buffer.
int CapabilityStringChars(uint32_t capability);

}  // namespace qf
