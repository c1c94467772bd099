// The device sheet's encoder and single-feed dialogs in the workbench: what they change
// in the printer's stored record, and a walk through them without a display.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/property_sheet.h"

// Prints the fields of the private block in which two stored records differ, as
// "was" and "now" lines; says so when nothing changed.
void PrintStoredChange(const std::vector<uint8_t>& before, const std::vector<uint8_t>& after);

// Without a display: opens "Encoder Settings" from the sheet and, from it, "Advanced
// settings", then "Single Feed"; renders each dialog as it opens into `dir`
// (device-encoder.png, device-advanced.png, device-single-feed.png), works a few of its
// controls and applies it. After each dialog the change of the stored record is printed;
// the RAW jobs are printed by the simulated printer with --trace.
void WalkEncoderDialogs(sim::PropertySheetService& service, const std::wstring& dir);
