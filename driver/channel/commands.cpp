// The printer command catalogue and the orders of the command jobs.
#include "driver/channel/commands.h"

#include <algorithm>

namespace qf {
namespace {

constexpr char kEsc = '\x1B';
constexpr char kCr = '\r';

// ESC, the command text, CR.
std::string Command(std::string_view text) {
    std::string command;
    command.reserve(text.size() + 2);
    command += kEsc;
    command += text;
    command += kCr;
    return command;
}

std::string Decimal(uint32_t value) { return std::to_string(value); }

// A difference of card dots that the printer reads as a position or size; it has no
// sign, so a negative result is sent as 0.
uint32_t NonNegative(int64_t value) {
    return static_cast<uint32_t>(std::clamp<int64_t>(value, 0, UINT32_MAX));
}

constexpr std::array<uint8_t, 3> kAamvaModes = {kTrackIso1, kTrackIso2, kTrackIso1};

}  // namespace

std::string FreeCommand(std::string_view text) { return Command(text); }

std::string TestCardCommand(uint32_t kind) {
    // The standard card carries no number: "\eA 0\r" is not a test card.
    return kind == 0 ? Command("A") : Command("A " + Decimal(kind));
}

std::string OffsetXCommand(uint32_t x) { return Command("+O " + Decimal(x)); }

std::string OffsetYCommand(uint32_t y) { return Command("+OY " + Decimal(y)); }

std::string SetOffsetsQuery(std::optional<uint32_t> x, std::optional<uint32_t> y) {
    std::string query;
    if (x) query += OffsetXCommand(*x);
    if (y) query += OffsetYCommand(*y);
    return query;
}

std::string TrackLoadCommand(uint32_t track, std::string_view data) {
    std::string text = "&B " + Decimal(track) + " ";
    text += data;
    return Command(text);
}

std::string EncodeTracksQuery(const std::array<std::string_view, 3>& trackData) {
    std::string query;
    for (uint32_t i = 0; i < trackData.size(); ++i) {
        if (!trackData[i].empty()) query += TrackLoadCommand(i + 1, trackData[i]);
    }
    if (!query.empty()) query += kEncodeTracks;
    return query;
}

std::string TrackReadQuery(uint32_t track) { return Command("&L" + Decimal(track)); }

std::string EncoderPositionCommand(bool reversed) { return Command(reversed ? "&W 1" : "&W 0"); }

std::string CoercivityCommand(bool high) { return Command(high ? "&C 1" : "&C 0"); }

std::string TrackFormatCommand(uint32_t track, uint8_t mode, bool read) {
    if (track < 1 || track > 3 || mode > kTrack7Bit) return {};
    std::string text = read ? "&CDER " : "&CDEW ";
    text += static_cast<char>('0' + track);
    text += ' ';
    if (mode >= kTrack3Bit) {
        // A custom width of n bits.
        text += read ? "U_" : "E_";
        text += static_cast<char>('0' + mode);
    } else {
        // Tracks 1, 2, 3 are named a, b, c for writing and q, r, s for reading. The
        // track's own ISO format is the upper-case letter alone; another ISO format is
        // the lower-case letter and the format's number.
        const char letter = static_cast<char>((read ? 'q' : 'a') + (track - 1));
        const uint32_t isoFormat = mode + 1u;
        if (isoFormat == track) {
            text += static_cast<char>(letter - 'a' + 'A');
        } else {
            text += letter;
            text += static_cast<char>('0' + isoFormat);
        }
    }
    return Command(text);
}

std::vector<std::string> TrackFormatCommands() {
    std::vector<std::string> commands;
    for (uint32_t track = 1; track <= 3; ++track) {
        for (uint8_t mode = kTrackIso1; mode <= kTrack7Bit; ++mode) {
            commands.push_back(TrackFormatCommand(track, mode, false));
            commands.push_back(TrackFormatCommand(track, mode, true));
        }
    }
    return commands;
}

std::string TrackDensityCommand(uint32_t track, uint8_t density) {
    return Command("&D " + Decimal(track) + (density == kDensity210 ? " 210" : " 75"));
}

std::vector<std::string> TrackFormatSequence(uint8_t encoderType, const std::array<uint8_t, 3>& modes) {
    // A JIS2 encoder has one track.
    const uint32_t tracks = encoderType == kEncoderJis2 ? 1 : 3;
    std::vector<std::string> commands;
    for (uint32_t track = 1; track <= tracks; ++track) {
        const uint8_t mode = modes[track - 1];
        if (mode > kTrack7Bit) continue;
        commands.push_back(TrackFormatCommand(track, mode, false));
        commands.push_back(TrackFormatCommand(track, mode, true));
    }
    return commands;
}

std::vector<std::string> EncoderSetupSequence(uint8_t encoderType, uint16_t encoderPosition,
                                              uint8_t coercivity, const std::array<uint8_t, 3>& modes) {
    std::vector<std::string> commands;
    if (encoderType != kEncoderJis2) {
        commands.push_back(EncoderPositionCommand(encoderPosition != kEncoderNormal));
    }
    if (coercivity == kCoercivityHigh || coercivity == kCoercivityLow) {
        commands.push_back(CoercivityCommand(coercivity == kCoercivityHigh));
    }
    const std::vector<std::string> formats = encoderType == kEncoderAamva
        ? TrackFormatSequence(kEncoderIsoJis, kAamvaModes)
        : TrackFormatSequence(encoderType, modes);
    commands.insert(commands.end(), formats.begin(), formats.end());
    return commands;
}

std::vector<std::string> TrackSetupSequence(uint8_t encoderType, const std::array<uint8_t, 3>& modes,
                                            const std::array<uint8_t, 3>& densities) {
    std::vector<std::string> commands = TrackFormatSequence(encoderType, modes);
    const uint32_t tracks = encoderType == kEncoderIsoJis ? 3 : 1;
    for (uint32_t track = 1; track <= tracks; ++track) {
        commands.push_back(TrackDensityCommand(track, densities[track - 1]));
    }
    return commands;
}

std::vector<std::string> SingleFeedSequence(bool enable) {
    if (enable) return {std::string(kSingleFeedStart), std::string(kSingleFeedOn)};
    return {std::string(kSingleFeedOff)};
}

std::string FirmwareHeader(uint32_t fileSize) {
    std::string header = "\x1B" "DC ";
    for (int shift = 24; shift >= 0; shift -= 8) {
        header += static_cast<char>((fileSize >> shift) & 0xFFu);
    }
    return header;
}

std::string PrintFileInstruction(std::string_view path) {
    return "PrintFile:" + std::string(path);
}

std::string SendCommandsInstruction(std::string_view path) {
    return "sendcmds:" + std::string(path);
}

std::string DownloadInstruction(std::string_view path) {
    return "download:" + std::string(path);
}

std::string HologramContrastCommand(uint32_t contrast) { return Command("+CH " + Decimal(contrast)); }

std::string RectangleCommand(uint32_t x, uint32_t y, uint32_t width, uint32_t height, uint8_t value) {
    return Command("L " + Decimal(x) + " " + Decimal(y) + " " + Decimal(width) + " " +
                   Decimal(height) + " " + Decimal(value));
}

std::vector<std::string> HologramWholeCardSequence(uint32_t contrast, bool bothSides) {
    std::vector<std::string> commands = {HologramContrastCommand(contrast), std::string(kHologramWholeSide)};
    if (bothSides) {
        commands.emplace_back(kNextSide);
        commands.emplace_back(kHologramWholeSide);
    }
    commands.emplace_back(kCardEnd);
    return commands;
}

std::vector<std::string> HologramAreaSequence(uint32_t contrast, bool blankArea, bool rotated,
                                              const CardArea& area, bool bothSides) {
    // The card is 1024 x 640 dots; a rotated area is measured from the opposite corner.
    const int64_t left = area.left, top = area.top, right = area.right, bottom = area.bottom;
    const uint32_t x = NonNegative(rotated ? 1023 - right : left);
    const uint32_t y = NonNegative(rotated ? 639 - bottom : top);
    const uint32_t width = NonNegative(right - left);
    const uint32_t height = NonNegative(bottom - top);

    // The whole card first gets the value the area does not get.
    const uint8_t areaValue = blankArea ? 0 : 1;
    const uint8_t cardValue = blankArea ? 1 : 0;
    const std::string wholeCard = RectangleCommand(0, 0, 1023, 639, cardValue);
    const std::string areaCommand = RectangleCommand(x, y, width, height, areaValue);

    std::vector<std::string> commands = {HologramContrastCommand(contrast)};
    const int sides = bothSides ? 2 : 1;
    for (int side = 0; side < sides; ++side) {
        if (side > 0) commands.emplace_back(kNextSide);
        commands.emplace_back(kRectanglesStart);
        commands.push_back(wholeCard);
        commands.push_back(areaCommand);
        commands.emplace_back(kHologramByDefinition);
    }
    commands.emplace_back(kCardEnd);
    return commands;
}

std::vector<HologramImageStep> HologramImageSequence(uint32_t contrast, uint32_t copies, bool bothSides) {
    std::vector<HologramImageStep> steps;
    const auto add = [&steps](std::string_view command) {
        steps.push_back({false, std::string(command)});
    };
    add(HologramContrastCommand(contrast));
    add(kImageJobStart);
    const int sides = bothSides ? 2 : 1;
    for (int side = 0; side < sides; ++side) {
        if (side > 0) add(kNextSide);
        add(kImageSideHeader);
        steps.push_back({true, {}});
        add(kImageEnd);
        add(kHologramByDefinition);
    }
    add(kCardEnd);
    // Further cards use the image the printer already holds.
    for (uint32_t card = 1; card < copies; ++card) {
        add(kHologramByDefinition);
        if (bothSides) {
            add(kNextSide);
            add(kHologramByDefinition);
        }
        add(kCardEnd);
    }
    return steps;
}

}  // namespace qf
