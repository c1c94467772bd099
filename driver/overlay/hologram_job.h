// The hologram jobs of the hologram varnish dialog: the copies it accepts, how many jobs
// a print makes, and the commands of one card of the whole-card and area types. The
// bitmap type's single job is in hologram_stream.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "driver/settings/private_settings.h"

namespace qf {

constexpr uint32_t kHologramMaxCopies = 1500;
// The document name of every hologram job.
inline constexpr char16_t kHologramJobName[] = u"VESTRIAHOLOGRAM";

// Whether a print with `copies` may start.
bool HologramCopiesAccepted(uint32_t copies);
// The cards a print lays: 0 and 1 both give one.
uint32_t HologramCardCount(uint32_t copies);
// Whether the stored hologram type is one the printer can be sent (whole card, the two
// area types, bitmap); a record from elsewhere may hold any other number.
bool HologramTypePrintable(const PrivateSettings& settings);
// The H-panel contrast that opens every hologram job.
uint8_t HologramContrast(const PrivateSettings& settings);

// Whether the stored hologram type is an area type whose area the printer cannot be
// sent: off the card, empty or inverted (the rules the region editor keeps: left and
// right at most 1024, top and bottom at most 639, left below right, top below bottom).
bool HologramAreaRefused(const PrivateSettings& settings);

// The commands of one job (one card) of the whole-card and area types, for the stored
// hologram type, area, rotation, both-sides choice and contrast; empty for the bitmap
// type, for a type the dialog does not offer, for a refused area, and when the commands
// cannot be allocated.
std::vector<std::string> HologramCardCommands(const PrivateSettings& settings) noexcept;

}  // namespace qf
