// Pictures of shown windows as PNG files, for the workbench and for looking at what a
// person would see.
#pragma once

#include <windows.h>

#include <string>

namespace sim {

// Copies the window as it is shown, frame and children included, and writes it as a
// PNG file. The window is repainted first, so a window just filled shows its contents.
// Returns false when the window is not shown or the file cannot be written.
bool SaveWindowPng(HWND window, const std::wstring& path);

// Writes a device-dependent bitmap (not selected into any DC) as a PNG file.
bool SaveBitmapPng(HBITMAP bitmap, const std::wstring& path);

}  // namespace sim
