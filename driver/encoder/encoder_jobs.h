// What the encoder and single-feed jobs carry, as the exact blocks each job writes, and
// where an encoder record may be stored in a printer's default settings record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "driver/settings/private_settings.h"

namespace qf {

inline constexpr char16_t kEncoderJobName[] = u"VESTRIAENCODER";
inline constexpr char16_t kSingleFeedJobName[] = u"VESTRIAATM";

// The track format commands of a record: write then read command of track 1, and of
// tracks 2 and 3 unless the type is JIS2; a track whose mode is above 7 gets none.
std::vector<std::string> TrackFormatsJob(const EncoderSettings& settings);

// The encoder settings job: the position (not for JIS2), the coercivity (not for "No
// Change"), then the track formats; AAMVA sends ISO1, ISO2, ISO1 whatever the stored
// modes are. Stored values outside the choices are read as the dialogs show them.
std::vector<std::string> EncoderSetupJob(const EncoderSettings& settings);

// The track settings job: the track formats of the stored modes (for every type), then
// the density of track 1, and of tracks 2 and 3 for ISO/JIS only.
std::vector<std::string> TrackSetupJob(const EncoderSettings& settings);

// The single-feed job: choice 1 switches single feed on ("\eFS 1\r", "\eATM 1\r"),
// any other choice off ("\eATM 0\r").
std::vector<std::string> SingleFeedJob(uint8_t choice);

}  // namespace qf
