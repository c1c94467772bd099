// The printer command catalogue: every command the driver sends or asks, as the exact
// bytes that travel (ESC, text, CR), and the orders in which the encoder, track, single
// feed and hologram jobs send them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qf {

// Questions whose answer the driver reads.
inline constexpr std::string_view kModelQuery = "\x1BV\r";             // model and firmware text
inline constexpr std::string_view kEncoderQuery = "\x1B!V 20\r";       // '1' first when an encoder is fitted
inline constexpr std::string_view kOffsetXQuery = "\x1B!V 1\r";        // print offset X
inline constexpr std::string_view kOffsetYQuery = "\x1B!V 2\r";        // print offset Y
inline constexpr std::string_view kRibbonQuery = "\x1B!RIBBON\r";      // printer ribbon number
inline constexpr std::string_view kRibbonRemainingQuery = "\x1B!RIBLEN\r";
inline constexpr std::string_view kSerialNumberQuery = "\x1B%SERIE\r";  // '%' is part of the text
inline constexpr std::string_view kPanelCountQuery = "\x1B!NL\r";
inline constexpr std::string_view kSlaveCommand = "\x1BSLAVE\r";       // reply not examined

// Commands of the Tools dialog, sent as queries; the reply is the printer status.
inline constexpr std::string_view kEjectFromFeeder = "\x1BME\r";
inline constexpr std::string_view kEjectFromPrinter = "\x1BMC\r";
inline constexpr std::string_view kCleanPrinter = "\x1B" "CLEAN\r";
inline constexpr std::string_view kCleanEncoder = "\x1BMCLEAN\r";
inline constexpr std::string_view kEncodeTracks = "\x1B&E*\r";
// Written to the printer handle after every Tools query.
inline constexpr std::string_view kToolsQueryEnd = "\x1B.\r";

// Commands of the single-feed job.
inline constexpr std::string_view kSingleFeedStart = "\x1B" "FS 1\r";
inline constexpr std::string_view kSingleFeedOn = "\x1B" "ATM 1\r";
inline constexpr std::string_view kSingleFeedOff = "\x1B" "ATM 0\r";

// Commands of the hologram jobs.
inline constexpr std::string_view kHologramWholeSide = "\x1BIH 30\r";
inline constexpr std::string_view kHologramByDefinition = "\x1BIH 31\r";
inline constexpr std::string_view kRectanglesStart = "\x1B" "F\r";
inline constexpr std::string_view kNextSide = "\x1BMF\r";
inline constexpr std::string_view kCardEnd = "\x1BMO\r";
inline constexpr std::string_view kImageJobStart = "\x1BMASTER\r";
// Starts one side's image of 1024 columns of 640 dots; the compressed image follows
// directly, then one CR (kImageEnd).
inline constexpr std::string_view kImageSideHeader = "\x1B" "F\r\x1BG 0 0 12 640 1024 0\r\x1BZ";
inline constexpr std::string_view kImageEnd = "\r";

// The firmware job ends with these two bytes after the file.
inline constexpr std::string_view kFirmwareTrailer = "\xFF\r";

// Encoder settings as the encoder record holds them.
constexpr uint8_t kEncoderIsoJis = 0, kEncoderJis2 = 1, kEncoderAamva = 2;   // encoderType
constexpr uint16_t kEncoderReversed = 0, kEncoderNormal = 1;                 // encoderPosition
constexpr uint8_t kCoercivityHigh = 0, kCoercivityLow = 1, kCoercivityNoChange = 2;
// Track modes: the three ISO formats, then widths of 3 to 7 bits.
constexpr uint8_t kTrackIso1 = 0, kTrackIso2 = 1, kTrackIso3 = 2, kTrack3Bit = 3, kTrack7Bit = 7;
constexpr uint8_t kDensity75 = 0, kDensity210 = 1;

// A free command typed by the user: "\e%s\r".
std::string FreeCommand(std::string_view text);

// The test card: kind 0 is the standard card ("\eA\r"), any other kind n is "\eA n\r".
std::string TestCardCommand(uint32_t kind);

std::string OffsetXCommand(uint32_t x);  // "\e+O x\r"
std::string OffsetYCommand(uint32_t y);  // "\e+OY y\r"
// The offsets that were given, X first, as one query; empty when neither was.
std::string SetOffsetsQuery(std::optional<uint32_t> x, std::optional<uint32_t> y);

// Loads data for track 1..3: "\e&B track data\r".
std::string TrackLoadCommand(uint32_t track, std::string_view data);
// The encoding query: a load command for every track whose data is not empty, in track
// order, then kEncodeTracks. Empty when there is no data to encode.
std::string EncodeTracksQuery(const std::array<std::string_view, 3>& trackData);
// Reads track 1..3 of the card in the encoder: "\e&Ltrack\r".
std::string TrackReadQuery(uint32_t track);

// Encoder position: "\e&W 1\r" for reversed, "\e&W 0\r" for normal.
std::string EncoderPositionCommand(bool reversed);
// Coercivity: "\e&C 1\r" for high, "\e&C 0\r" for low.
std::string CoercivityCommand(bool high);
// The format command of track 1..3 in the given mode, for writing ("\e&CDEW ...") or
// reading ("\e&CDER ..."). Empty for a track outside 1..3 or a mode above 7.
std::string TrackFormatCommand(uint32_t track, uint8_t mode, bool read);
// Every format command the printer knows: track by track, mode by mode, the write
// command before the read command.
std::vector<std::string> TrackFormatCommands();
// Recording density of track 1..3: "\e&D track 210\r" for kDensity210, else 75 bpi.
std::string TrackDensityCommand(uint32_t track, uint8_t density);

// The format pairs of a set-up: tracks 1, 2, 3 (only track 1 for JIS2), write before
// read; a track whose mode is above 7 contributes nothing.
std::vector<std::string> TrackFormatSequence(uint8_t encoderType, const std::array<uint8_t, 3>& modes);
// The encoder settings job: position (not for JIS2), coercivity (not for No Change),
// then the format pairs; AAMVA always sends ISO1, ISO2, ISO1 for the three tracks.
std::vector<std::string> EncoderSetupSequence(uint8_t encoderType, uint16_t encoderPosition,
                                              uint8_t coercivity, const std::array<uint8_t, 3>& modes);
// The track settings job: the format pairs of the stored modes, then the density of
// track 1, and of tracks 2 and 3 for the ISO/JIS type only.
std::vector<std::string> TrackSetupSequence(uint8_t encoderType, const std::array<uint8_t, 3>& modes,
                                            const std::array<uint8_t, 3>& densities);

// The single-feed job: switching on sends kSingleFeedStart then kSingleFeedOn.
std::vector<std::string> SingleFeedSequence(bool enable);

// The firmware job's header: "\eDC " and the file size, most significant byte first.
std::string FirmwareHeader(uint32_t fileSize);

// Port instructions: the port side transfers the named file itself.
std::string PrintFileInstruction(std::string_view path);     // "PrintFile:%s"
std::string SendCommandsInstruction(std::string_view path);  // "sendcmds:%s"
std::string DownloadInstruction(std::string_view path);      // "download:%s"

// The H-panel contrast that opens every hologram job: "\e+CH contrast\r".
std::string HologramContrastCommand(uint32_t contrast);
// A rectangle of card dots set to value 0 or 1: "\eL x y width height value\r".
std::string RectangleCommand(uint32_t x, uint32_t y, uint32_t width, uint32_t height, uint8_t value);

// An area of the card in dots, as the hologram record stores it.
struct CardArea {
    uint32_t left;
    uint32_t top;
    uint32_t right;
    uint32_t bottom;
};

// One hologram card of the whole-card type.
std::vector<std::string> HologramWholeCardSequence(uint32_t contrast, bool bothSides);
// One hologram card of the area types: `blankArea` false varnishes the area, true
// varnishes everything but the area. A rotated area is turned by 180 degrees on the
// card. A number that would fall below 0 (an area at the card's right edge turned, or
// a stored area with its edges swapped) is sent as 0.
std::vector<std::string> HologramAreaSequence(uint32_t contrast, bool blankArea, bool rotated,
                                              const CardArea& area, bool bothSides);

// One element of the image job: a command, or the place where the caller writes one
// side's compressed image.
struct HologramImageStep {
    bool sideImage;       // true: write the side's image here; `command` is empty
    std::string command;
};
// The image job for all copies: the image goes out once per side of the first card;
// every further card reuses it.
std::vector<HologramImageStep> HologramImageSequence(uint32_t contrast, uint32_t copies, bool bothSides);

}  // namespace qf
