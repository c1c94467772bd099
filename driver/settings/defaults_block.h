// The defaults block: the driver's data file, an image of a private settings block that
// every Restore defaults button reads.
#pragma once

#include <windows.h>

#include <cstdint>

#include "driver/settings/record_sizes.h"

// Reads the data file of `printer`'s driver into `block` (kPrivateSize bytes). Only a
// file of exactly that size is read; on any failure the block is left zeroed and the
// result is false, and the caller takes its built-in values.
bool ReadDefaultsBlock(HANDLE printer, uint8_t* block);
