// Ribbon identification: the printer's ribbon number and the driver's ribbon code, the
// ribbon names, the ribbon catalogue's keys and values, the model-text tests and the
// print-mode lists each ribbon offers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qf {

// Ribbon codes (`ribbonType`).
constexpr uint8_t kRibbonYmcko = 0, kRibbonKResin = 1, kRibbonKdo = 2, kRibbonKro = 3,
                  kRibbonHologram = 4, kRibbonYmc = 5, kRibbonYmck = 6, kRibbonYmckk = 7,
                  kRibbonYmckok = 8, kRibbonClearVarnish = 9, kRibbonScratchOff = 10,
                  kRibbonYmckuv = 11, kRibbonYmcuvk = 12, kRibbonKd = 13,
                  kRibbonUnknownMono = 14, kRibbonNone = 15;

// Kinds of the unknown monochrome ribbon (`monoRibbonKind`).
constexpr uint8_t kMonoKResin = 0, kMonoScratchOff = 1, kMonoClearVarnish = 2, kMonoHologram = 3;

// The ribbon code of the number the printer reports; kRibbonNone for a number it does
// not know.
uint8_t RibbonFromPrinterNumber(int32_t number);

// The printer's ribbon answer (the text before the ACK) read as a decimal number: blanks
// first are skipped, a sign and the digits that follow are read, the rest is ignored.
// Text that does not start with a number reads as 0; a number too large for 32 bits
// reads as the nearest 32-bit value.
int32_t ParseRibbonNumber(std::string_view text);

// The ribbon code of the printer's ribbon answer; text that is no number gives kRibbonNone.
uint8_t RibbonFromReply(std::string_view text);

// The printer's encoder answer (the text before the ACK) tells that an encoder is fitted.
bool IsEncoderReply(std::string_view text);

// Ribbon names and print-mode texts are texts of the module's string table. The core
// names each by its place in its run there, and the Win32 layer loads the text.

// The place of a ribbon code's name in the run of ribbon names: codes up to
// kRibbonUnknownMono name their own ribbon, every code above names none ("None", at
// kRibbonNone). Only the code's low byte counts.
constexpr uint8_t kRibbonNameCount = 16;
uint8_t RibbonNameIndex(uint32_t code);

// What the user is told when the printer reports a new ribbon.
enum class RibbonChange : uint8_t {
    kChanged,            // "Ribbon changed to %s."
    kChangedMonochrome,  // the same, and a request to choose the monochrome kind
    kNoRibbon,           // no ribbon, or the printer does not answer
};
RibbonChange RibbonChangeNotice(uint32_t code);

// The ribbon catalogue: a profile file beside the driver file or in the driver's
// version-2 directory, one key per printer ribbon number. It is read with the platform's
// wide profile calls, so that neither its path nor its names pass through the ANSI code
// page.
inline constexpr std::u16string_view kRibbonCatalogueFile = u"qf862rib.ini";
inline constexpr std::u16string_view kRibbonCatalogueSection = u"Ribbon Type";
constexpr size_t kRibbonCatalogueValueChars = 31;

// The catalogue's path in the printer-driver directory: "2\" and the file name are added
// after a backslash; a directory that already ends with one gets the file name alone.
std::u16string RibbonCataloguePath(std::u16string_view driverDirectory);
// The catalogue key of a printer ribbon number: the low 16 bits as a signed decimal.
std::u16string RibbonCatalogueKey(int32_t number);
// A catalogue value as the driver shows it: up to its first zero and at most
// kRibbonCatalogueValueChars characters.
std::u16string_view CutCatalogueValue(std::u16string_view value);

// Model classes (`modelClass`) of the printer's model text.
constexpr uint8_t kModelOther = 0, kModel511 = 1, kModel513 = 2, kModel517 = 3, kModel519 = 4,
                  kModelDuplex = 5;
// The class of the first of "511", "513", "517", "519", "858", "862" that the text
// contains, tested in that order; kModelOther when it contains none.
uint8_t ClassifyModel(std::string_view modelText);
// Prints both sides of a card ("858" or "862").
bool IsDuplexModel(std::string_view modelText);
// The "796" family: no reversed encoder position, no clear-varnish or hologram
// monochrome kinds.
bool IsModel796(std::string_view modelText);
// The "511" and "513" families: no third magnetic track.
bool IsModel511Or513(std::string_view modelText);

// The print-mode texts, in the order of their run in the string table. kNoPrintMode
// ("None") stands for a ribbon that offers none.
enum PrintModeText : uint8_t {
    kNoPrintMode,
    kFrontYmcko, kFrontYmcoBackK, kFrontYmckoBackYmcko, kFrontYmcBackKo,
    kFrontK, kFrontAndBackK,
    kFrontKdo, kFrontKdoBackKdo,
    kFrontKro, kFrontKroBackKro,
    kFrontHologram, kFrontAndBackHologram,
    kFrontYmc, kFrontYmcBackYmc,
    kFrontYmck, kFrontYmcBackK, kFrontYmckBackYmck, kFrontYmckBackK,
    kFrontYmckoBackK,
    kFrontClearVarnish, kFrontAndBackClearVarnish,
    kFrontScratchOff, kFrontAndBackScratchOff,
    kPrintYmckuv, kFrontYmcuvBackK, kFrontYmckuvBackYmckuv, kFrontYmcBackKuv,
    kPrintYmcuvk, kFrontYmcuvBackYmcuv,
    kFrontThermal, kFrontAndBackThermal,
    kPrintModeTextCount
};

// The print modes a ribbon offers: which panels go on which side.
constexpr size_t kMaxPrintModes = 4;
struct PrintModes {
    uint8_t count;                                // 1..4
    PrintModeText modes[kMaxPrintModes];          // the first `count` are set
};
// `monoKind` counts only for kRibbonUnknownMono; `bothSides` picks the duplex list.
PrintModes PrintModeList(uint8_t ribbon, uint8_t monoKind, bool bothSides);

}  // namespace qf
