// The encoder settings' roads out of the module: the defaults block they are restored
// from, the RAW jobs that carry them to the printer, and the printer's stored default
// record that keeps them.
#pragma once

#include <windows.h>

#include <cstdint>

#include "driver/encoder/encoder_rules.h"
#include "driver/settings/private_settings.h"

// One part of `target` from the printer's defaults block, or from the built-in encoder
// defaults when the block cannot be read. Nothing else of `target` changes.
void RestoreEncoderDefaults(HANDLE printer, qf::EncoderPart part, qf::EncoderSettings& target);

// The RAW jobs "VESTRIAENCODER" (encoder set-up; track formats and densities) and
// "VESTRIAATM" (single feed) on the printer named `printerName`. A job that cannot be
// made, whose printer cannot be opened, whose document the spooler refuses, or that does
// not reach the printer whole (it is then aborted) is told to the user. True when the job
// reached the printer whole.
bool SendEncoderSetup(const wchar_t* printerName, const qf::EncoderSettings& settings);
bool SendTrackSetup(const wchar_t* printerName, const qf::EncoderSettings& settings);
bool SendSingleFeed(const wchar_t* printerName, uint8_t choice);

// Which parts of an encoder record a store writes.
struct EncoderParts {
    bool general;
    bool tracks;
};

// Whether a store of encoder settings into the printer named `printerName` can be made
// now: the printer opens for administering and holds a stored record of this driver.
// Asked before anything is sent, so that the printer never gets settings the driver
// cannot keep.
bool CanStoreEncoderParts(const wchar_t* printerName);

// Writes `parts` of `settings` into the encoder record of the stored default of the
// printer named `printerName`, as the printer holds it now, and stores the record (the
// default record alone, level 8) on a handle opened for administering, after the debugger line
// `trace` when one is given. The other part and the encoder's presence stay as the
// printer holds them, so two windows that applied different parts both keep theirs. Only
// a stored record of this driver (signature, 3856-byte private block, wholly inside what
// the spooler returned) is written; otherwise, and on any failure (a user the platform
// refuses administering among them), nothing is stored. True when the record was stored.
bool StoreEncoderParts(const wchar_t* printerName, const qf::EncoderSettings& settings, EncoderParts parts,
                       const char* trace);
