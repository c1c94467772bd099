// The public part of the settings record: the platform's wide-character DEVMODE in
// its 0x0401 version, ending after dmReserved2, and the driver's default values for it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "driver/settings/record_sizes.h"

namespace qf {

constexpr int kDeviceNameChars = 32;
constexpr int kFormNameChars = 32;

#pragma pack(push, 1)

struct PublicDevmode {
    char16_t dmDeviceName[kDeviceNameChars];
    uint16_t dmSpecVersion;
    uint16_t dmDriverVersion;
    uint16_t dmSize;
    uint16_t dmDriverExtra;
    uint32_t dmFields;
    int16_t dmOrientation;
    int16_t dmPaperSize;
    int16_t dmPaperLength;
    int16_t dmPaperWidth;
    int16_t dmScale;
    int16_t dmCopies;
    int16_t dmDefaultSource;
    int16_t dmPrintQuality;
    int16_t dmColor;
    int16_t dmDuplex;
    int16_t dmYResolution;
    int16_t dmTTOption;
    int16_t dmCollate;
    char16_t dmFormName[kFormNameChars];
    uint16_t dmLogPixels;
    uint32_t dmBitsPerPel;
    uint32_t dmPelsWidth;
    uint32_t dmPelsHeight;
    uint32_t dmDisplayFlags;
    uint32_t dmDisplayFrequency;
    uint32_t dmICMMethod;
    uint32_t dmICMIntent;
    uint32_t dmMediaType;
    uint32_t dmDitherType;
    uint32_t dmReserved1;
    uint32_t dmReserved2;
};

#pragma pack(pop)

static_assert(sizeof(PublicDevmode) == static_cast<size_t>(kPublicSize), "the public part is 212 bytes");
static_assert(offsetof(PublicDevmode, dmSpecVersion) == 64, "dmSpecVersion");
static_assert(offsetof(PublicDevmode, dmDriverVersion) == 66, "dmDriverVersion");
static_assert(offsetof(PublicDevmode, dmSize) == 68, "dmSize");
static_assert(offsetof(PublicDevmode, dmDriverExtra) == 70, "dmDriverExtra");
static_assert(offsetof(PublicDevmode, dmFields) == 72, "dmFields");
static_assert(offsetof(PublicDevmode, dmOrientation) == 76, "dmOrientation");
static_assert(offsetof(PublicDevmode, dmPaperSize) == 78, "dmPaperSize");
static_assert(offsetof(PublicDevmode, dmPaperLength) == 80, "dmPaperLength");
static_assert(offsetof(PublicDevmode, dmPaperWidth) == 82, "dmPaperWidth");
static_assert(offsetof(PublicDevmode, dmScale) == 84, "dmScale");
static_assert(offsetof(PublicDevmode, dmCopies) == 86, "dmCopies");
static_assert(offsetof(PublicDevmode, dmDefaultSource) == 88, "dmDefaultSource");
static_assert(offsetof(PublicDevmode, dmPrintQuality) == 90, "dmPrintQuality");
static_assert(offsetof(PublicDevmode, dmColor) == 92, "dmColor");
static_assert(offsetof(PublicDevmode, dmDuplex) == 94, "dmDuplex");
static_assert(offsetof(PublicDevmode, dmYResolution) == 96, "dmYResolution");
static_assert(offsetof(PublicDevmode, dmTTOption) == 98, "dmTTOption");
static_assert(offsetof(PublicDevmode, dmCollate) == 100, "dmCollate");
static_assert(offsetof(PublicDevmode, dmFormName) == 102, "dmFormName");
static_assert(offsetof(PublicDevmode, dmLogPixels) == 166, "dmLogPixels");
static_assert(offsetof(PublicDevmode, dmBitsPerPel) == 168, "dmBitsPerPel");
static_assert(offsetof(PublicDevmode, dmPelsWidth) == 172, "dmPelsWidth");
static_assert(offsetof(PublicDevmode, dmPelsHeight) == 176, "dmPelsHeight");
static_assert(offsetof(PublicDevmode, dmDisplayFlags) == 180, "dmDisplayFlags");
static_assert(offsetof(PublicDevmode, dmDisplayFrequency) == 184, "dmDisplayFrequency");
static_assert(offsetof(PublicDevmode, dmICMMethod) == 188, "dmICMMethod");
static_assert(offsetof(PublicDevmode, dmICMIntent) == 192, "dmICMIntent");
static_assert(offsetof(PublicDevmode, dmMediaType) == 196, "dmMediaType");
static_assert(offsetof(PublicDevmode, dmDitherType) == 200, "dmDitherType");
static_assert(offsetof(PublicDevmode, dmReserved1) == 204, "dmReserved1");
static_assert(offsetof(PublicDevmode, dmReserved2) == 208, "dmReserved2");

// The names a default record carries: the driver's name and the card form's name. A name
// longer than its field is cut.
struct RecordNames {
    std::u16string_view deviceName;
    std::u16string_view formName;
};

// The names the driver writes into every record it builds. Applications and the spooler
// match the form by its name, and a record saved under one language of the module's texts
// is read under another, so these are the same bytes whatever language the user reads.
constexpr char16_t kDriverDeviceName[] = u"Varlo Halvard Line Printer";
constexpr char16_t kCardFormName[] = u"86mmx54mm Card";
constexpr RecordNames kDriverRecordNames{kDriverDeviceName, kCardFormName};

// The public part of the driver default: the card form in landscape, one copy,
// 300 dpi colour, with this record's sizes and version.
PublicDevmode DriverDefaultPublicPart(const RecordNames& names);

}  // namespace qf
