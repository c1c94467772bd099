// What the region editors draw and read: the preview box of an editor, its painting
// (one colour, an area or a fixed zone, or the region's bitmap), and the reading of a
// monochrome bitmap file, which every use checks against the bytes actually read.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "driver/overlay/monochrome_bitmap.h"
#include "driver/overlay/region_rules.h"

// The bytes of a file, at most kMonochromeFileMaxBytes of them: a larger file is no
// monochrome bitmap the module draws, so the rest is never needed.
struct MonochromeFile {
    std::unique_ptr<uint8_t[]> bytes;
    size_t size = 0;
};

// Reads `path` (a zero-terminated path); false when it cannot be opened, read or held.
bool ReadMonochromeFile(const wchar_t* path, MonochromeFile* file);

// Reads and checks `path`: true with `bitmap` pointing into `file` when the file is a
// monochrome bitmap the module can use.
bool LoadMonochromeBitmap(const wchar_t* path, MonochromeFile* file, qf::MonochromeBitmap* bitmap);

// The path stored in a region, zero-terminated even when the record's field is not.
struct StoredPath {
    wchar_t text[qf::kBitmapPathChars + 1];
};
StoredPath PathOf(const qf::OverlayRegion& region);

// The preview box of an editor in client pixels, from its preview group box.
qf::PixelRect GetPreviewRect(HWND dialog);

// Draws the preview of `region` into `dc`: a box with its area or fixed zone, or the
// region's bitmap. A bitmap that cannot be read or is not monochrome draws nothing.
void PaintRegionPreview(HDC dc, HWND dialog, qf::RegionEditor editor, const qf::OverlayRegion& region);

// Draws the bitmap file `path` stretched into the preview box, turned by 180 degrees
// when `rotated`.
void DrawBitmapPreview(HWND dialog, HDC dc, const wchar_t* path, bool rotated);
