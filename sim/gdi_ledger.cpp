// Counting stand-ins for the GDI calls that make and free objects and device contexts.
#include "sim/gdi_ledger.h"

namespace sim {
namespace {

// The platform's functions themselves: this program's own imports of them are routed
// here as well, so they are found by name in their DLLs.
template <typename Fn>
Fn Real(const wchar_t* dll, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(dll), name)));
}
#define QF_REAL(dll, name) static const auto real = Real<decltype(&name)>(dll, #name)

template <typename Handle>
Handle Counted(Handle handle, long& count) {
    if (handle) ++count;
    return handle;
}

HDC WINAPI LedgerCreateCompatibleDC(HDC dc) {
    QF_REAL(L"gdi32.dll", CreateCompatibleDC);
    return Counted(real(dc), Gdi().memoryDcs);
}
BOOL WINAPI LedgerDeleteDC(HDC dc) {
    QF_REAL(L"gdi32.dll", DeleteDC);
    const BOOL deleted = real(dc);
    if (deleted) --Gdi().memoryDcs;
    return deleted;
}
HBITMAP WINAPI LedgerCreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                                    const BITMAPINFO* info, UINT usage) {
    QF_REAL(L"gdi32.dll", CreateDIBitmap);
    return Counted(real(dc, header, init, bits, info, usage), Gdi().objects);
}
HBITMAP WINAPI LedgerCreateCompatibleBitmap(HDC dc, int width, int height) {
    QF_REAL(L"gdi32.dll", CreateCompatibleBitmap);
    return Counted(real(dc, width, height), Gdi().objects);
}
BOOL WINAPI LedgerDeleteObject(HGDIOBJ object) {
    QF_REAL(L"gdi32.dll", DeleteObject);
    const BOOL deleted = real(object);
    if (deleted) --Gdi().objects;
    return deleted;
}
HDC WINAPI LedgerBeginPaint(HWND window, PAINTSTRUCT* paint) {
    QF_REAL(L"user32.dll", BeginPaint);
    return Counted(real(window, paint), Gdi().windowDcs);
}
BOOL WINAPI LedgerEndPaint(HWND window, const PAINTSTRUCT* paint) {
    QF_REAL(L"user32.dll", EndPaint);
    --Gdi().windowDcs;
    return real(window, paint);
}
HDC WINAPI LedgerGetDC(HWND window) {
    QF_REAL(L"user32.dll", GetDC);
    return Counted(real(window), Gdi().windowDcs);
}
int WINAPI LedgerReleaseDC(HWND window, HDC dc) {
    QF_REAL(L"user32.dll", ReleaseDC);
    const int released = real(window, dc);
    if (released) --Gdi().windowDcs;
    return released;
}

}  // namespace

GdiLedger& Gdi() {
    static GdiLedger ledger;
    return ledger;
}

std::vector<ImportRoute> GdiRoutes() {
    auto route = [](const char* dll, const char* name, auto* function) {
        return ImportRoute{dll, name, reinterpret_cast<void*>(function)};
    };
    return {
        route("gdi32.dll", "CreateCompatibleDC", &LedgerCreateCompatibleDC),
        route("gdi32.dll", "DeleteDC", &LedgerDeleteDC),
        route("gdi32.dll", "CreateDIBitmap", &LedgerCreateDIBitmap),
        route("gdi32.dll", "CreateCompatibleBitmap", &LedgerCreateCompatibleBitmap),
        route("gdi32.dll", "DeleteObject", &LedgerDeleteObject),
        route("user32.dll", "BeginPaint", &LedgerBeginPaint),
        route("user32.dll", "EndPaint", &LedgerEndPaint),
        route("user32.dll", "GetDC", &LedgerGetDC),
        route("user32.dll", "ReleaseDC", &LedgerReleaseDC),
    };
}

}  // namespace sim
