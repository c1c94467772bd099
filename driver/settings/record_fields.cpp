// The field descriptions of the settings record and their rendering. Each record
// type is described once, by the offsets and sizes of its struct; nested records are
// expanded into dotted names when the tables are first asked for.
#include "driver/settings/record_fields.h"

#include <array>

#include "driver/settings/private_settings.h"
#include "driver/settings/public_devmode.h"
#include "driver/settings/ribbons.h"

namespace qf {
namespace {

struct ValueNames {
    const char* const* names;
    uint8_t count;
};

template <size_t N>
constexpr ValueNames Names(const char* const (&list)[N]) {
    static_assert(N <= 255, "value name lists are short");
    return {list, static_cast<uint8_t>(N)};
}

struct RecordDef;

// One field of a record, at its offset from the start of that record.
struct FieldDef {
    const char* name;
    uint16_t offset;
    uint16_t size;            // the whole field: every element of an array of records
    FieldKind kind;
    ValueStyle style;
    const char* meaning;
    ValueNames values;
    const RecordDef* record;  // set for a nested record
    uint8_t count;            // records in an array of nested records; 1 for a single one
};

struct RecordDef {
    const FieldDef* fields;
    size_t count;
};

// Name, offset and size of a struct member, from the struct itself.
#define QF_MEMBER(Record, member)                                     \
    #member, static_cast<uint16_t>(offsetof(Record, member)),        \
        static_cast<uint16_t>(sizeof(Record::member))

constexpr FieldDef Number(const char* name, uint16_t offset, uint16_t size, FieldKind kind,
                          const char* meaning, ValueNames values = {nullptr, 0}) {
    return {name, offset, size, kind, ValueStyle::kDecimal, meaning, values, nullptr, 1};
}

constexpr FieldDef HexNumber(const char* name, uint16_t offset, uint16_t size, FieldKind kind,
                             const char* meaning) {
    return {name, offset, size, kind, ValueStyle::kHex, meaning, {nullptr, 0}, nullptr, 1};
}

constexpr FieldDef RibbonCode(const char* name, uint16_t offset, uint16_t size, FieldKind kind,
                              const char* meaning) {
    return {name, offset, size, kind, ValueStyle::kRibbonCode, meaning, {nullptr, 0}, nullptr, 1};
}

constexpr FieldDef Text(const char* name, uint16_t offset, uint16_t size, FieldKind kind,
                        const char* meaning) {
    return {name, offset, size, kind, ValueStyle::kDecimal, meaning, {nullptr, 0}, nullptr, 1};
}

constexpr FieldDef Bytes(const char* name, uint16_t offset, uint16_t size, const char* meaning) {
    return {name, offset, size, FieldKind::kBytes, ValueStyle::kDecimal, meaning, {nullptr, 0}, nullptr, 1};
}

constexpr FieldDef Nested(const char* name, uint16_t offset, uint16_t size, const RecordDef* record,
                          uint8_t count = 1) {
    return {name, offset, size, FieldKind::kBytes, ValueStyle::kDecimal, nullptr, {nullptr, 0}, record, count};
}

template <size_t N>
constexpr RecordDef Record(const FieldDef (&fields)[N]) {
    return {fields, N};
}

constexpr const char* kNoYes[] = {"no", "yes"};
constexpr const char* kOffOn[] = {"off", "on"};

constexpr const char* kMonoKinds[] = {"K resin", "scratch off", "clear varnish", "hologram/varnish"};
constexpr const char* kRotations[] = {"none", "front", "back", "front and back"};
constexpr const char* kSides[] = {"single-sided", "both sides"};
constexpr const char* kMonoConversions[] = {"diffusion", "halftone regular", "barcode"};
constexpr const char* kBlackPanelUses[] = {"do not use", "use always", "text only", "except in colour picture"};
constexpr const char* kPrintingModes[] = {"print", "encode only"};
constexpr const char* kManualRibbons[] = {"learnt from the printer"};
constexpr const char* kModelClasses[] = {"other", "511", "513", "517", "519", "858 or 862"};

constexpr const char* kCoercivities[] = {"high", "low", "no change"};
constexpr const char* kEncoderPositions[] = {"reversed", "normal"};
constexpr const char* kEncoderTypes[] = {"ISO/JIS", "JIS2", "AAMVA"};
constexpr const char* kTrackNames[] = {"track 1", "track 2", "track 3"};
constexpr const char* kTrackModes[] = {"ISO1", "ISO2", "ISO3", "3 bit", "4 bit", "5 bit", "6 bit", "7 bit"};
constexpr const char* kDensities[] = {"75 bpi", "210 bpi"};
constexpr const char* kParities[] = {"none", "even", "odd"};

constexpr const char* kOverlayTypes[] = {
    "full overlay varnish", "no overlay", "selected area overlay varnish", "selected area blank",
    "bitmap-based overlay varnish", "smartcard ISO", "smartcard AFNOR", "magnetic stripe"};
constexpr const char* kHologramTypes[] = {
    "full hologram overlay varnish", "selected area hologram overlay varnish", "selected area blank",
    "bitmap-based hologram overlay varnish"};

// The platform's names of the public values.
constexpr const char* kOrientations[] = {"", "portrait", "landscape"};
constexpr const char* kColors[] = {"", "monochrome", "colour"};
constexpr const char* kDuplexes[] = {"", "simplex", "vertical", "horizontal"};
constexpr const char* kTrueTypeOptions[] = {"", "bitmap", "download", "substitute device fonts",
                                            "download outline"};
constexpr const char* kIcmMethods[] = {"", "none", "system", "driver", "device"};
constexpr const char* kIcmIntents[] = {"", "saturation", "contrast", "colorimetric", "absolute colorimetric"};
constexpr const char* kMediaTypes[] = {"", "standard", "transparency", "glossy"};
constexpr const char* kDitherTypes[] = {"", "none", "coarse", "fine", "line art", "error diffusion",
                                        "", "", "", "", "greyscale"};

constexpr FieldKind kU8 = FieldKind::kU8, kU16 = FieldKind::kU16, kI16 = FieldKind::kI16,
                    kU32 = FieldKind::kU32, kText8 = FieldKind::kText8, kText16 = FieldKind::kText16;

constexpr FieldDef kTrackFields[] = {
    Number(QF_MEMBER(TrackSettings, mode), kU8, "encoding mode", Names(kTrackModes)),
    Number(QF_MEMBER(TrackSettings, density), kU8, "recording density", Names(kDensities)),
    Number(QF_MEMBER(TrackSettings, startChar), kU8, "start character code"),
    Number(QF_MEMBER(TrackSettings, stopChar), kU8, "stop character code"),
    Number(QF_MEMBER(TrackSettings, startPositionMm), kU8, "encoding start position, mm"),
    Number(QF_MEMBER(TrackSettings, charParity), kU8, "character parity", Names(kParities)),
    Number(QF_MEMBER(TrackSettings, lrcParity), kU8, "LRC parity", Names(kParities)),
};
constexpr RecordDef kTrackRecord = Record(kTrackFields);

constexpr FieldDef kEncoderFields[] = {
    Number(QF_MEMBER(EncoderSettings, encoderPresent), kU16, "a magnetic encoder is installed",
           Names(kNoYes)),
    Number(QF_MEMBER(EncoderSettings, macroEnabled), kU16, "track data is taken from printed text",
           Names(kOffOn)),
    Text(QF_MEMBER(EncoderSettings, startOfData), kText8, "delimiter that opens track data"),
    Text(QF_MEMBER(EncoderSettings, endOfData), kText8, "delimiter that closes track data"),
    Number(QF_MEMBER(EncoderSettings, coercivity), kU8, "coercivity", Names(kCoercivities)),
    Bytes(QF_MEMBER(EncoderSettings, reserved25), "not used"),
    Number(QF_MEMBER(EncoderSettings, encoderPosition), kU16, "encoder head position",
           Names(kEncoderPositions)),
    Number(QF_MEMBER(EncoderSettings, encoderType), kU8, "encoder type", Names(kEncoderTypes)),
    Number(QF_MEMBER(EncoderSettings, currentTrack), kU8, "track the advanced settings show",
           Names(kTrackNames)),
    Nested(QF_MEMBER(EncoderSettings, tracks), &kTrackRecord, kTrackCount),
    Bytes(QF_MEMBER(EncoderSettings, reserved51), "not used"),
};
constexpr RecordDef kEncoderRecord = Record(kEncoderFields);

// The area record serves the overlay varnish and the hologram panel, which name
// their types differently.
constexpr std::array<FieldDef, 7> RegionFields(ValueNames types) {
    return {{
        Number(QF_MEMBER(OverlayRegion, overlayType), kU16, "what the panel covers", types),
        Number(QF_MEMBER(OverlayRegion, rotated), kU16, "area and bitmap turned by 180 degrees",
               Names(kNoYes)),
        Number(QF_MEMBER(OverlayRegion, left), kU32, "area left edge, card dots 0..1024"),
        Number(QF_MEMBER(OverlayRegion, top), kU32, "area top edge, card dots 0..639"),
        Number(QF_MEMBER(OverlayRegion, right), kU32, "area right edge, card dots, beyond left"),
        Number(QF_MEMBER(OverlayRegion, bottom), kU32, "area bottom edge, card dots, below top"),
        Text(QF_MEMBER(OverlayRegion, bitmapPath), kText16, "monochrome bitmap of the bitmap type"),
    }};
}
constexpr std::array<FieldDef, 7> kOverlayFields = RegionFields(Names(kOverlayTypes));
constexpr std::array<FieldDef, 7> kHologramRegionFields = RegionFields(Names(kHologramTypes));
constexpr RecordDef kOverlayRecord = {kOverlayFields.data(), kOverlayFields.size()};
constexpr RecordDef kHologramRegionRecord = {kHologramRegionFields.data(), kHologramRegionFields.size()};

constexpr FieldDef kHologramFields[] = {
    Number(QF_MEMBER(HologramSettings, enabled), kU16, "hologram panel enabled", Names(kOffOn)),
    Number(QF_MEMBER(HologramSettings, copies), kU16, "cards the print button does"),
    Nested(QF_MEMBER(HologramSettings, region), &kHologramRegionRecord),
};
constexpr RecordDef kHologramRecord = Record(kHologramFields);

constexpr FieldDef kPrivatePartFields[] = {
    HexNumber(QF_MEMBER(PrivateSettings, signature), kU16, "0x5A45 marks a valid block"),
    Bytes(QF_MEMBER(PrivateSettings, reserved2), "not used"),
    Number(QF_MEMBER(PrivateSettings, rotate180), kI16, "sides turned by 180 degrees", Names(kRotations)),
    Number(QF_MEMBER(PrivateSettings, printBothSides), kI16, "card sides printed", Names(kSides)),
    RibbonCode(QF_MEMBER(PrivateSettings, ribbonType), kU8, "ribbon code"),
    Number(QF_MEMBER(PrivateSettings, monoRibbonKind), kU8, "monochrome ribbon kind, with ribbon 14",
           Names(kMonoKinds)),
    Number(QF_MEMBER(PrivateSettings, colorAdjustExtra), kU8, "restored with the colour correction"),
    Bytes(QF_MEMBER(PrivateSettings, reserved13), "not used"),
    Number(QF_MEMBER(PrivateSettings, printModeIndex), kI16, "entry of the print-mode list, from 0"),
    Bytes(QF_MEMBER(PrivateSettings, reserved16), "not used"),
    Number(QF_MEMBER(PrivateSettings, blackBitmap), kI16, "black bitmap", Names(kOffOn)),
    Number(QF_MEMBER(PrivateSettings, monoConversion), kI16, "monochrome conversion",
           Names(kMonoConversions)),
    Number(QF_MEMBER(PrivateSettings, blackPanel), kU8, "use of the black panel", Names(kBlackPanelUses)),
    Bytes(QF_MEMBER(PrivateSettings, reserved23), "not used"),
    Number(QF_MEMBER(PrivateSettings, printingMode), kI16, "what a job does", Names(kPrintingModes)),
    Number(QF_MEMBER(PrivateSettings, manualRibbon), kI16, "offline ribbon list entry 1..10",
           Names(kManualRibbons)),
    Bytes(QF_MEMBER(PrivateSettings, reserved28), "not used; the word at 30 is carried"),
    Bytes(QF_MEMBER(PrivateSettings, reserved32), "not used"),
    Number(QF_MEMBER(PrivateSettings, modelClass), kU8, "class of the printer's model text",
           Names(kModelClasses)),
    Bytes(QF_MEMBER(PrivateSettings, reserved34), "not used"),
    Nested(QF_MEMBER(PrivateSettings, encoderSettings), &kEncoderRecord),
    Nested(QF_MEMBER(PrivateSettings, frontOverlay), &kOverlayRecord),
    Nested(QF_MEMBER(PrivateSettings, backOverlay), &kOverlayRecord),
    Nested(QF_MEMBER(PrivateSettings, hologramOverlay), &kHologramRecord),
    Number(QF_MEMBER(PrivateSettings, headSettings[0]), kU8, "contrast, overlay varnish (O), 0..10"),
    Number(QF_MEMBER(PrivateSettings, headSettings[1]), kU8, "contrast, resin black (Kr), 0..10"),
    Number(QF_MEMBER(PrivateSettings, headSettings[2]), kU8, "contrast, hologram/varnish (H), 0..10"),
    Number(QF_MEMBER(PrivateSettings, headSettings[3]), kU8, "intensity, yellow, 0..10"),
    Number(QF_MEMBER(PrivateSettings, headSettings[4]), kU8, "intensity, magenta, 0..10"),
    Number(QF_MEMBER(PrivateSettings, headSettings[5]), kU8, "intensity, cyan, 0..10"),
    Number(QF_MEMBER(PrivateSettings, headSettings[6]), kU8, "intensity, dye black (Kd), 0..10"),
    Number(QF_MEMBER(PrivateSettings, headSettings[7]), kU8, "colour contrast, yellow, 0..10"),
    Number(QF_MEMBER(PrivateSettings, headSettings[8]), kU8, "colour contrast, magenta, 0..10"),
    Number(QF_MEMBER(PrivateSettings, headSettings[9]), kU8, "colour contrast, cyan, 0..10"),
    Number(QF_MEMBER(PrivateSettings, headSettings[10]), kU8, "colour contrast, dye black (Kd), 0..10"),
    Bytes(QF_MEMBER(PrivateSettings, reserved3235), "not used"),
    Number(QF_MEMBER(PrivateSettings, colorAdjust[0]), kI16, "intensity, black, -100..100"),
    Number(QF_MEMBER(PrivateSettings, colorAdjust[1]), kI16, "intensity, red, -100..100"),
    Number(QF_MEMBER(PrivateSettings, colorAdjust[2]), kI16, "intensity, green, -100..100"),
    Number(QF_MEMBER(PrivateSettings, colorAdjust[3]), kI16, "intensity, blue, -100..100"),
    Number(QF_MEMBER(PrivateSettings, colorAdjust[4]), kI16, "contrast, black, -100..100"),
    Number(QF_MEMBER(PrivateSettings, colorAdjust[5]), kI16, "contrast, red, -100..100"),
    Number(QF_MEMBER(PrivateSettings, colorAdjust[6]), kI16, "contrast, green, -100..100"),
    Number(QF_MEMBER(PrivateSettings, colorAdjust[7]), kI16, "contrast, blue, -100..100"),
    Bytes(QF_MEMBER(PrivateSettings, reserved3252), "not used"),
    Text(QF_MEMBER(PrivateSettings, thirdTrackText), kText8, "third-track text"),
    Number(QF_MEMBER(PrivateSettings, thirdTrackWord), kU16, "cleared with the third-track text"),
    Bytes(QF_MEMBER(PrivateSettings, reserved3792), "not used"),
};

constexpr FieldDef kPublicPartFields[] = {
    Text(QF_MEMBER(PublicDevmode, dmDeviceName), kText16, "device name"),
    HexNumber(QF_MEMBER(PublicDevmode, dmSpecVersion), kU16, "version of the public layout"),
    Number(QF_MEMBER(PublicDevmode, dmDriverVersion), kU16, "driver version"),
    Number(QF_MEMBER(PublicDevmode, dmSize), kU16, "bytes of the public part"),
    Number(QF_MEMBER(PublicDevmode, dmDriverExtra), kU16, "bytes of the private block"),
    HexNumber(QF_MEMBER(PublicDevmode, dmFields), kU32, "fields that hold values"),
    Number(QF_MEMBER(PublicDevmode, dmOrientation), kI16, "orientation", Names(kOrientations)),
    Number(QF_MEMBER(PublicDevmode, dmPaperSize), kI16, "paper id; 258 is the card form"),
    Number(QF_MEMBER(PublicDevmode, dmPaperLength), kI16, "paper length, 0.1 mm"),
    Number(QF_MEMBER(PublicDevmode, dmPaperWidth), kI16, "paper width, 0.1 mm"),
    Number(QF_MEMBER(PublicDevmode, dmScale), kI16, "scale, percent"),
    Number(QF_MEMBER(PublicDevmode, dmCopies), kI16, "copies"),
    Number(QF_MEMBER(PublicDevmode, dmDefaultSource), kI16, "paper source; 256 is the card feeder"),
    Number(QF_MEMBER(PublicDevmode, dmPrintQuality), kI16, "resolution, dots per inch"),
    Number(QF_MEMBER(PublicDevmode, dmColor), kI16, "colour use", Names(kColors)),
    Number(QF_MEMBER(PublicDevmode, dmDuplex), kI16, "duplex", Names(kDuplexes)),
    Number(QF_MEMBER(PublicDevmode, dmYResolution), kI16, "vertical resolution, dots per inch"),
    Number(QF_MEMBER(PublicDevmode, dmTTOption), kI16, "TrueType fonts", Names(kTrueTypeOptions)),
    Number(QF_MEMBER(PublicDevmode, dmCollate), kI16, "collation", Names(kOffOn)),
    Text(QF_MEMBER(PublicDevmode, dmFormName), kText16, "form name"),
    Number(QF_MEMBER(PublicDevmode, dmLogPixels), kU16, "logical pixels per inch"),
    Number(QF_MEMBER(PublicDevmode, dmBitsPerPel), kU32, "colour depth, bits per pixel"),
    Number(QF_MEMBER(PublicDevmode, dmPelsWidth), kU32, "width, pixels"),
    Number(QF_MEMBER(PublicDevmode, dmPelsHeight), kU32, "height, pixels"),
    HexNumber(QF_MEMBER(PublicDevmode, dmDisplayFlags), kU32, "display flags"),
    Number(QF_MEMBER(PublicDevmode, dmDisplayFrequency), kU32, "display frequency"),
    Number(QF_MEMBER(PublicDevmode, dmICMMethod), kU32, "colour matching by", Names(kIcmMethods)),
    Number(QF_MEMBER(PublicDevmode, dmICMIntent), kU32, "colour matching intent", Names(kIcmIntents)),
    Number(QF_MEMBER(PublicDevmode, dmMediaType), kU32, "media type", Names(kMediaTypes)),
    Number(QF_MEMBER(PublicDevmode, dmDitherType), kU32, "dithering", Names(kDitherTypes)),
    Number(QF_MEMBER(PublicDevmode, dmReserved1), kU32, "reserved"),
    Number(QF_MEMBER(PublicDevmode, dmReserved2), kU32, "reserved"),
};

#undef QF_MEMBER

void Expand(const RecordDef& record, const std::string& prefix, uint32_t base,
            std::vector<RecordField>& out) {
    for (size_t i = 0; i < record.count; ++i) {
        const FieldDef& field = record.fields[i];
        if (field.record == nullptr) {
            out.push_back({prefix + field.name, base + field.offset, field.size, field.kind, field.style,
                           field.meaning, field.values.names, field.values.count});
            continue;
        }
        if (field.count == 1) {
            Expand(*field.record, prefix + field.name + ".", base + field.offset, out);
            continue;
        }
        const uint32_t elementSize = field.size / field.count;
        for (uint32_t element = 0; element < field.count; ++element) {
            Expand(*field.record, prefix + field.name + "[" + std::to_string(element) + "].",
                   base + field.offset + element * elementSize, out);
        }
    }
}

std::vector<RecordField> Flatten(const RecordDef& record) {
    std::vector<RecordField> fields;
    Expand(record, "", 0, fields);
    return fields;
}

uint64_t ReadUnsigned(const uint8_t* bytes, size_t width) {
    uint64_t value = 0;
    for (size_t i = width; i > 0; --i) value = (value << 8) | bytes[i - 1];
    return value;
}

int64_t ReadSigned(const uint8_t* bytes, size_t width) {
    const uint64_t value = ReadUnsigned(bytes, width);
    const uint64_t signBit = uint64_t{1} << (width * 8 - 1);
    return static_cast<int64_t>(value ^ signBit) - static_cast<int64_t>(signBit);
}

bool IsSigned(FieldKind kind) {
    return kind == FieldKind::kI8 || kind == FieldKind::kI16 || kind == FieldKind::kI32;
}

void AppendUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Hexadecimal digits of a value, `digits` of them, upper case.
std::string HexText(uint64_t value, size_t digits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out(digits, '0');
    for (size_t i = digits; i > 0 && value != 0; --i, value >>= 4) out[i - 1] = kDigits[value & 0xF];
    return out;
}

std::string NumberText(const RecordField& field, const uint8_t* bytes, RibbonNamer ribbonName) {
    const size_t width = NumberWidth(field.kind);
    if (field.style == ValueStyle::kHex) return "0x" + HexText(ReadUnsigned(bytes, width), width * 2);
    const int64_t value = IsSigned(field.kind) ? ReadSigned(bytes, width)
                                               : static_cast<int64_t>(ReadUnsigned(bytes, width));
    std::string name;
    if (field.style == ValueStyle::kRibbonCode) {
        if (ribbonName && value >= 0 && value <= kRibbonNone) name = ribbonName(static_cast<uint32_t>(value));
    } else if (value >= 0 && value < field.valueNameCount) {
        name = field.valueNames[value];
    }
    std::string result = std::to_string(value);
    if (!name.empty()) result += " (" + name + ")";
    return result;
}

// Control characters, quotes and backslashes are escaped so that a line stays one
// line and the text's end is visible.
bool AppendEscaped(std::string& out, uint32_t code) {
    if (code == '"' || code == '\\') {
        out += '\\';
        out += static_cast<char>(code);
    } else if (code < 0x20 || code == 0x7F) {
        out += "\\x" + HexText(code, 2);
    } else {
        return false;
    }
    return true;
}

// UTF-16 text up to its terminating zero, as quoted UTF-8.
std::string Text16(const uint8_t* bytes, size_t size) {
    const size_t count = size / 2;
    std::string out = "\"";
    size_t i = 0;
    for (; i < count; ++i) {
        const uint32_t unit = static_cast<uint32_t>(ReadUnsigned(bytes + 2 * i, 2));
        if (unit == 0) break;
        uint32_t code = unit;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < count) {
            const uint32_t low = static_cast<uint32_t>(ReadUnsigned(bytes + 2 * (i + 1), 2));
            if (low >= 0xDC00 && low <= 0xDFFF) {
                code = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (code >= 0xD800 && code <= 0xDFFF) code = 0xFFFD;  // an unpaired surrogate
        if (!AppendEscaped(out, code)) AppendUtf8(out, code);
    }
    out += "\"";
    if (i == count) out += " (no terminating zero)";
    return out;
}

// 8-bit text up to its terminating zero; bytes above 0x7E depend on the code page and
// are shown as numbers.
std::string Text8(const uint8_t* bytes, size_t size) {
    std::string out = "\"";
    size_t i = 0;
    for (; i < size && bytes[i] != 0; ++i) {
        if (AppendEscaped(out, bytes[i])) continue;
        if (bytes[i] < 0x80) {
            out += static_cast<char>(bytes[i]);
        } else {
            out += "\\x" + HexText(bytes[i], 2);
        }
    }
    out += "\"";
    if (i == size) out += " (no terminating zero)";
    return out;
}

// Short areas in full, long ones as their length and how much of them is set.
std::string BytesText(const uint8_t* bytes, size_t size) {
    constexpr size_t kShownInFull = 8;
    std::string out;
    if (size <= kShownInFull) {
        for (size_t i = 0; i < size; ++i) {
            if (i != 0) out += ' ';
            out += HexText(bytes[i], 2);
        }
        return out;
    }
    size_t nonZero = 0;
    for (size_t i = 0; i < size; ++i) nonZero += bytes[i] != 0 ? 1 : 0;
    return std::to_string(size) + " bytes, " + std::to_string(nonZero) + " non-zero";
}

std::string ValueText(const RecordField& field, const uint8_t* bytes, RibbonNamer ribbonName) {
    switch (field.kind) {
    case FieldKind::kText16: return Text16(bytes, field.size);
    case FieldKind::kText8: return Text8(bytes, field.size);
    case FieldKind::kBytes: return BytesText(bytes, field.size);
    default: return NumberText(field, bytes, ribbonName);
    }
}

}  // namespace

size_t NumberWidth(FieldKind kind) {
    switch (kind) {
    case FieldKind::kU8:
    case FieldKind::kI8: return 1;
    case FieldKind::kU16:
    case FieldKind::kI16: return 2;
    case FieldKind::kU32:
    case FieldKind::kI32: return 4;
    default: return 0;
    }
}

const std::vector<RecordField>& PublicRecordFields() {
    static const std::vector<RecordField> fields = Flatten(Record(kPublicPartFields));
    return fields;
}

const std::vector<RecordField>& PrivateRecordFields() {
    static const std::vector<RecordField> fields = Flatten(Record(kPrivatePartFields));
    return fields;
}

std::vector<std::string> DescribeFields(const uint8_t* bytes, size_t size, bool privatePart,
                                        RibbonNamer ribbonName) {
    const std::vector<RecordField>& fields = privatePart ? PrivateRecordFields() : PublicRecordFields();
    std::vector<std::string> lines;
    for (const RecordField& field : fields) {
        if (bytes == nullptr || field.offset > size || field.size > size - field.offset) {
            lines.push_back("(the data ends after " + std::to_string(size) + " bytes: " + field.name +
                            " and the fields after it are missing)");
            break;
        }
        lines.push_back(field.name + " = " + ValueText(field, bytes + field.offset, ribbonName) + "  (" +
                        field.meaning + ")");
    }
    return lines;
}

}  // namespace qf
