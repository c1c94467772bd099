// The encoder and single-feed jobs.
#include "driver/encoder/encoder_jobs.h"

#include <array>
#include <cstring>

#include "driver/channel/commands.h"
#include "driver/encoder/encoder_rules.h"
#include "driver/settings/public_devmode.h"
#include "driver/settings/record_rules.h"
#include "driver/settings/record_sizes.h"

namespace qf {
namespace {

std::array<uint8_t, kTrackCount> Modes(const EncoderSettings& settings) {
    return {settings.tracks[0].mode, settings.tracks[1].mode, settings.tracks[2].mode};
}

std::array<uint8_t, kTrackCount> Densities(const EncoderSettings& settings) {
    return {settings.tracks[0].density, settings.tracks[1].density, settings.tracks[2].density};
}

uint8_t Type(const EncoderSettings& settings) { return static_cast<uint8_t>(ShownType(settings)); }

}  // namespace

std::vector<std::string> TrackFormatsJob(const EncoderSettings& settings) {
    return TrackFormatSequence(Type(settings), Modes(settings));
}

std::vector<std::string> EncoderSetupJob(const EncoderSettings& settings) {
    return EncoderSetupSequence(Type(settings), static_cast<uint16_t>(ShownPosition(settings)),
                                static_cast<uint8_t>(ShownCoercivity(settings)), Modes(settings));
}

std::vector<std::string> TrackSetupJob(const EncoderSettings& settings) {
    return TrackSetupSequence(Type(settings), Modes(settings), Densities(settings));
}

std::vector<std::string> SingleFeedJob(uint8_t choice) { return SingleFeedSequence(choice == 1); }

}  // namespace qf
