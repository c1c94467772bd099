// The driver-private block of the settings record and the records nested in it, as
// packed little-endian structs whose offsets are checked at compile time, and the
// mapping of the offline ribbon choice to a ribbon code.
//
// Every struct here has alignment 1, so a pointer to one may point anywhere inside a
// DEVMODE. Fields can be read and assigned directly; references and pointers to a
// field are not allowed (they would carry an alignment the field may not have), so
// text and array fields are copied with memcpy.
#pragma once

#include <cstddef>
#include <cstdint>

#include "driver/settings/record_sizes.h"

namespace qf {

constexpr uint16_t kSettingsSignature = 0x5A45;  // marks a valid private block

constexpr int kTrackCount = 3;
constexpr int kDelimiterChars = 10;       // 9 characters and the terminating zero
constexpr int kBitmapPathChars = 512;
constexpr int kHeadSettingCount = 11;
constexpr int kColorAdjustCount = 8;
constexpr int kThirdTrackTextChars = 114;

// The card face in card dots, and the largest values an area may take.
constexpr uint32_t kCardDotsAcross = 1024;
constexpr uint32_t kCardDotsDown = 640;
constexpr uint32_t kAreaMaxX = 1024;
constexpr uint32_t kAreaMaxY = 639;

#pragma pack(push, 1)

// The format of one magnetic track.
struct TrackSettings {
    uint8_t mode;             // 0 ISO1, 1 ISO2, 2 ISO3, 3..7 the 3- to 7-bit modes
    uint8_t density;          // 0 75 bpi, 1 210 bpi
    uint8_t startChar;
    uint8_t stopChar;
    uint8_t startPositionMm;
    uint8_t charParity;       // 0 none, 1 even, 2 odd
    uint8_t lrcParity;        // 0 none, 1 even, 2 odd
};

// The printer-wide magnetic encoder settings.
struct EncoderSettings {
    uint16_t encoderPresent;  // 1 when the printer reports an encoder
    uint16_t macroEnabled;
    char startOfData[kDelimiterChars];
    char endOfData[kDelimiterChars];
    uint8_t coercivity;       // 0 high, 1 low, 2 no change
    uint8_t reserved25;
    uint16_t encoderPosition; // 0 reversed, 1 normal
    uint8_t encoderType;      // 0 ISO/JIS, 1 JIS2, 2 AAMVA
    uint8_t currentTrack;     // 0..2
    TrackSettings tracks[kTrackCount];
    uint8_t reserved51;
};

// Where the overlay varnish of one card side goes.
struct OverlayRegion {
    uint16_t overlayType;
    uint16_t rotated;         // 1: the area is turned by 180 degrees
    uint32_t left;            // card dots
    uint32_t top;
    uint32_t right;
    uint32_t bottom;
    char16_t bitmapPath[kBitmapPathChars];
};

// The hologram panel: whether and how often it is printed, and where.
struct HologramSettings {
    uint16_t enabled;
    uint16_t copies;
    OverlayRegion region;     // overlayType holds the hologram codes
};

// The private block that follows the public part of every settings record.
struct PrivateSettings {
    uint16_t signature;
    uint8_t reserved2[4];
    int16_t rotate180;        // 0 none, 1 front, 2 back, 3 front and back
    int16_t printBothSides;
    uint8_t ribbonType;       // ribbon code 0..14, 15 none
    uint8_t monoRibbonKind;   // with ribbon 14: 0 K resin, 1 scratch off, 2 clear varnish, 3 hologram
    uint8_t colorAdjustExtra;
    uint8_t reserved13;
    int16_t printModeIndex;
    uint8_t reserved16[2];
    int16_t blackBitmap;
    int16_t monoConversion;   // 0 diffusion, 1 halftone regular, 2 barcode
    uint8_t blackPanel;       // 0 do not use, 1 use always, 2 text only, 3 except in colour picture
    uint8_t reserved23;
    int16_t printingMode;     // 0 print, 1 encode only
    int16_t manualRibbon;     // 0 learnt from the printer, 1..10 the offline list entry
    uint8_t reserved28[4];    // the word at 30 is carried without effect
    uint8_t reserved32;
    uint8_t modelClass;
    uint8_t reserved34[2];
    EncoderSettings encoderSettings;
    OverlayRegion frontOverlay;
    OverlayRegion backOverlay;
    HologramSettings hologramOverlay;
    uint8_t headSettings[kHeadSettingCount];
    uint8_t reserved3235;
    int16_t colorAdjust[kColorAdjustCount];
    uint8_t reserved3252[424];
    char thirdTrackText[kThirdTrackTextChars];
    uint16_t thirdTrackWord;
    uint8_t reserved3792[64];
};

#pragma pack(pop)

static_assert(sizeof(TrackSettings) == 7, "TrackSettings is 7 bytes");
static_assert(offsetof(TrackSettings, mode) == 0 && offsetof(TrackSettings, density) == 1 &&
                  offsetof(TrackSettings, startChar) == 2 && offsetof(TrackSettings, stopChar) == 3 &&
                  offsetof(TrackSettings, startPositionMm) == 4 &&
                  offsetof(TrackSettings, charParity) == 5 && offsetof(TrackSettings, lrcParity) == 6,
              "TrackSettings layout");

static_assert(sizeof(EncoderSettings) == 52, "EncoderSettings is 52 bytes");
static_assert(offsetof(EncoderSettings, encoderPresent) == 0, "encoderPresent");
static_assert(offsetof(EncoderSettings, macroEnabled) == 2, "macroEnabled");
static_assert(offsetof(EncoderSettings, startOfData) == 4, "startOfData");
static_assert(offsetof(EncoderSettings, endOfData) == 14, "endOfData");
static_assert(offsetof(EncoderSettings, coercivity) == 24, "coercivity");
static_assert(offsetof(EncoderSettings, reserved25) == 25, "reserved25");
static_assert(offsetof(EncoderSettings, encoderPosition) == 26, "encoderPosition");
static_assert(offsetof(EncoderSettings, encoderType) == 28, "encoderType");
static_assert(offsetof(EncoderSettings, currentTrack) == 29, "currentTrack");
static_assert(offsetof(EncoderSettings, tracks) == 30, "tracks");
static_assert(offsetof(EncoderSettings, reserved51) == 51, "reserved51");

static_assert(sizeof(OverlayRegion) == 1044, "OverlayRegion is 1044 bytes");
static_assert(offsetof(OverlayRegion, overlayType) == 0, "overlayType");
static_assert(offsetof(OverlayRegion, rotated) == 2, "rotated");
static_assert(offsetof(OverlayRegion, left) == 4, "left");
static_assert(offsetof(OverlayRegion, top) == 8, "top");
static_assert(offsetof(OverlayRegion, right) == 12, "right");
static_assert(offsetof(OverlayRegion, bottom) == 16, "bottom");
static_assert(offsetof(OverlayRegion, bitmapPath) == 20, "bitmapPath");

static_assert(sizeof(HologramSettings) == 1048, "HologramSettings is 1048 bytes");
static_assert(offsetof(HologramSettings, enabled) == 0, "enabled");
static_assert(offsetof(HologramSettings, copies) == 2, "copies");
static_assert(offsetof(HologramSettings, region) == 4, "region");

static_assert(sizeof(PrivateSettings) == static_cast<size_t>(kPrivateSize), "PrivateSettings is 3856 bytes");
static_assert(offsetof(PrivateSettings, signature) == 0, "signature");
static_assert(offsetof(PrivateSettings, reserved2) == 2, "reserved2");
static_assert(offsetof(PrivateSettings, rotate180) == 6, "rotate180");
static_assert(offsetof(PrivateSettings, printBothSides) == 8, "printBothSides");
static_assert(offsetof(PrivateSettings, ribbonType) == 10, "ribbonType");
static_assert(offsetof(PrivateSettings, monoRibbonKind) == 11, "monoRibbonKind");
static_assert(offsetof(PrivateSettings, colorAdjustExtra) == 12, "colorAdjustExtra");
static_assert(offsetof(PrivateSettings, reserved13) == 13, "reserved13");
static_assert(offsetof(PrivateSettings, printModeIndex) == 14, "printModeIndex");
static_assert(offsetof(PrivateSettings, reserved16) == 16, "reserved16");
static_assert(offsetof(PrivateSettings, blackBitmap) == 18, "blackBitmap");
static_assert(offsetof(PrivateSettings, monoConversion) == 20, "monoConversion");
static_assert(offsetof(PrivateSettings, blackPanel) == 22, "blackPanel");
static_assert(offsetof(PrivateSettings, reserved23) == 23, "reserved23");
static_assert(offsetof(PrivateSettings, printingMode) == 24, "printingMode");
static_assert(offsetof(PrivateSettings, manualRibbon) == 26, "manualRibbon");
static_assert(offsetof(PrivateSettings, reserved28) == 28, "reserved28");
static_assert(offsetof(PrivateSettings, reserved32) == 32, "reserved32");
static_assert(offsetof(PrivateSettings, modelClass) == 33, "modelClass");
static_assert(offsetof(PrivateSettings, reserved34) == 34, "reserved34");
static_assert(offsetof(PrivateSettings, encoderSettings) == 36, "encoderSettings");
static_assert(offsetof(PrivateSettings, frontOverlay) == 88, "frontOverlay");
static_assert(offsetof(PrivateSettings, backOverlay) == 1132, "backOverlay");
static_assert(offsetof(PrivateSettings, hologramOverlay) == 2176, "hologramOverlay");
static_assert(offsetof(PrivateSettings, headSettings) == 3224, "headSettings");
static_assert(offsetof(PrivateSettings, reserved3235) == 3235, "reserved3235");
static_assert(offsetof(PrivateSettings, colorAdjust) == 3236, "colorAdjust");
static_assert(offsetof(PrivateSettings, reserved3252) == 3252, "reserved3252");
static_assert(offsetof(PrivateSettings, thirdTrackText) == 3676, "thirdTrackText");
static_assert(offsetof(PrivateSettings, thirdTrackWord) == 3790, "thirdTrackWord");
static_assert(offsetof(PrivateSettings, reserved3792) == 3792, "reserved3792");
static_assert(alignof(PrivateSettings) == 1, "the private block may start at any address");

// The ribbon code for an entry of the offline ribbon list (`manualRibbon` 1..10).
// 0 and every value outside the list give 1 (K resin).
uint8_t RibbonFromManualIndex(int manualIndex);

}  // namespace qf
