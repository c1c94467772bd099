// Window pictures: BitBlt from the window's own DC (which under Wine holds what the
// window drew, whether or not the X server has been sent it yet), saved through GDI+.
// A frame left to a window manager is drawn in plainly.
#include "sim/screenshot.h"

#include <gdiplus.h>

#include <vector>

#include "sim/dialog_script.h"

namespace sim {
namespace {

using namespace Gdiplus::DllExports;

bool FindPngEncoder(CLSID* encoder) {
    UINT count = 0;
    UINT size = 0;
    if (GdipGetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return false;
    std::vector<BYTE> buffer(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (GdipGetImageEncoders(count, size, codecs) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i)
        if (codecs[i].MimeType && lstrcmpW(codecs[i].MimeType, L"image/png") == 0) {
            *encoder = codecs[i].Clsid;
            return true;
        }
    return false;
}

// Whether the system painted the window's caption into the window's DC. Under Wine a
// window that a window manager decorates has no caption of its own: its DC reaches the
// client area only, and the frame part of a copy stays black.
bool FrameIsPainted(HDC windowDc, const RECT& frame) {
    HRGN visible = CreateRectRgn(0, 0, 0, 0);
    if (!visible) return true;
    const int captionY = frame.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    const bool painted = GetRandomRgn(windowDc, visible, SYSRGN) != 1 ||
                         PtInRegion(visible, (frame.left + frame.right) / 2, captionY);
    DeleteObject(visible);
    return painted;
}

// Draws a plain frame and caption around the copied client area, where the window
// manager would have drawn its own.
void PaintFrame(HWND window, HDC dc, const RECT& frame) {
    RECT client;
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    OffsetRect(&client, -frame.left, -frame.top);
    RECT whole = {0, 0, frame.right - frame.left, frame.bottom - frame.top};
    HRGN outside = CreateRectRgnIndirect(&whole);
    HRGN inside = CreateRectRgnIndirect(&client);
    if (outside && inside && CombineRgn(outside, outside, inside, RGN_DIFF) != ERROR)
        FillRgn(dc, outside, GetSysColorBrush(COLOR_BTNFACE));
    if (outside) DeleteObject(outside);
    if (inside) DeleteObject(inside);
    DrawEdge(dc, &whole, EDGE_RAISED, BF_RECT);
    if (GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) {
        RECT caption = {whole.left + 2, whole.top + 2, whole.right - 2, client.top - 1};
        if (caption.bottom > caption.top) DrawCaption(window, dc, &caption, DC_ACTIVE | DC_TEXT | DC_GRADIENT);
    }
}

}  // namespace

bool SaveBitmapPng(HBITMAP bitmap, const std::wstring& path) {
    if (!bitmap || path.empty()) return false;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return false;
    bool saved = false;
    CLSID encoder;
    Gdiplus::GpBitmap* image = nullptr;
    if (FindPngEncoder(&encoder) && GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &image) == Gdiplus::Ok) {
        saved = GdipSaveImageToFile(image, path.c_str(), &encoder, nullptr) == Gdiplus::Ok;
        GdipDisposeImage(image);
    }
    Gdiplus::GdiplusShutdown(token);
    return saved;
}

bool SaveWindowPng(HWND window, const std::wstring& path) {
    if (!IsWindow(window) || !IsWindowVisible(window)) return false;
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages();
    RECT frame;
    if (!GetWindowRect(window, &frame)) return false;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    if (width <= 0 || height <= 0) return false;

    bool saved = false;
    HDC windowDc = GetWindowDC(window);
    if (!windowDc) return false;
    HDC memoryDc = CreateCompatibleDC(windowDc);
    HBITMAP bitmap = CreateCompatibleBitmap(windowDc, width, height);
    if (memoryDc && bitmap) {
        HGDIOBJ old = SelectObject(memoryDc, bitmap);
        const bool copied = BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY) != FALSE;
        if (!FrameIsPainted(windowDc, frame)) PaintFrame(window, memoryDc, frame);
        SelectObject(memoryDc, old);
        saved = copied && SaveBitmapPng(bitmap, path);
    }
    if (bitmap) DeleteObject(bitmap);
    if (memoryDc) DeleteDC(memoryDc);
    ReleaseDC(window, windowDc);
    return saved;
}

}  // namespace sim
