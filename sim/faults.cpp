// Counting stand-ins for the driver module's allocation, GDI, window, spooler and file
// imports; each passes to the platform (or the simulated spooler) unless its call is the
// one chosen to fail.
#include "sim/faults.h"

#include "sim/allocation_fault.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

#include "sim/files.h"
#include "sim/import_routes.h"
#include "sim/spooler.h"

namespace sim {
namespace {

struct FaultState {
    CallCounts counts{};
    CallClass armedClass = CallClass::kCount;
    int armedCall = 0;
    int failed = 0;
};

// The books of the heap blocks, files and call counts are kept under one lock: the
// module is called on many threads at once (its GDI and window calls come from the
// thread of its windows only).
std::recursive_mutex& Bookkeeping() {
    static std::recursive_mutex lock;
    return lock;
}
using BooksHeld = std::lock_guard<std::recursive_mutex>;

FaultState& State() {
    static FaultState state;
    return state;
}

// The runtime heap blocks the module holds: taken through its malloc, calloc and realloc,
// given back through its free.
std::unordered_set<void*>& HeldBlocks() {
    static std::unordered_set<void*> blocks;
    return blocks;
}

void* Held(void* block) {
    const BooksHeld hold(Bookkeeping());
    if (block) HeldBlocks().insert(block);
    return block;
}

// The files and GDI objects the module holds: made through its imports, not yet closed
// or deleted through them.
std::unordered_set<HANDLE>& HeldFiles() {
    static std::unordered_set<HANDLE> files;
    return files;
}
std::unordered_set<HGDIOBJ>& HeldGdi() {
    static std::unordered_set<HGDIOBJ> objects;
    return objects;
}
template <typename Object>
Object HeldObject(Object object) {
    if (object) HeldGdi().insert(object);
    return object;
}
// The bitmaps the module has selected into a device context, with that context. As on
// Windows, such a bitmap cannot be deleted until it is selected out or its context is gone.
std::unordered_map<HGDIOBJ, HDC>& SelectedBitmaps() {
    static std::unordered_map<HGDIOBJ, HDC> bitmaps;
    return bitmaps;
}

HANDLE HeldFile(HANDLE file) {
    const BooksHeld hold(Bookkeeping());
    if (file != INVALID_HANDLE_VALUE && file) HeldFiles().insert(file);
    return file;
}

// The platform's function `name` of `dll`, found by name (this program's own import of
// it may be routed elsewhere).
template <typename Fn>
Fn Platform(const wchar_t* dll, const char* name) {
    HMODULE module = GetModuleHandleW(dll);
    if (!module) module = LoadLibraryW(dll);
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

#define QF_PLATFORM(dll, name) \
    static const auto real = Platform<decltype(&name)>(dll, #name)

// The C runtime the module imports its heap from.
using MallocFn = void*(__cdecl*)(size_t);
using CallocFn = void*(__cdecl*)(size_t, size_t);
using ReallocFn = void*(__cdecl*)(void*, size_t);
using FreeFn = void(__cdecl*)(void*);

void* __cdecl FaultMalloc(size_t size) {
    static const auto real = Platform<MallocFn>(L"msvcrt.dll", "malloc");
    if (CallFails(CallClass::kAllocation) || AllocationOfSizeFails(size)) {
        errno = ENOMEM;
        return nullptr;
    }
    return Held(real(size));
}

void* __cdecl FaultCalloc(size_t count, size_t size) {
    static const auto real = Platform<CallocFn>(L"msvcrt.dll", "calloc");
    if (CallFails(CallClass::kAllocation)) {
        errno = ENOMEM;
        return nullptr;
    }
    return Held(real(count, size));
}

void* __cdecl FaultRealloc(void* block, size_t size) {
    static const auto real = Platform<ReallocFn>(L"msvcrt.dll", "realloc");
    if (CallFails(CallClass::kAllocation)) {
        errno = ENOMEM;
        return nullptr;
    }
    void* moved = real(block, size);
    if (moved || size == 0) {
        const BooksHeld hold(Bookkeeping());
        HeldBlocks().erase(block);
    }
    return Held(moved);
}

void __cdecl FaultFree(void* block) {
    static const auto real = Platform<FreeFn>(L"msvcrt.dll", "free");
    {
        const BooksHeld hold(Bookkeeping());
        HeldBlocks().erase(block);
    }
    real(block);
}

LPVOID WINAPI FaultHeapAlloc(HANDLE heap, DWORD flags, SIZE_T size) {
    QF_PLATFORM(L"kernel32.dll", HeapAlloc);
    if (CallFails(CallClass::kAllocation)) return nullptr;
    return real(heap, flags, size);
}

HLOCAL WINAPI FaultLocalAlloc(UINT flags, SIZE_T size) {
    QF_PLATFORM(L"kernel32.dll", LocalAlloc);
    if (CallFails(CallClass::kAllocation)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return real(flags, size);
}

HGLOBAL WINAPI FaultGlobalAlloc(UINT flags, SIZE_T size) {
    QF_PLATFORM(L"kernel32.dll", GlobalAlloc);
    if (CallFails(CallClass::kAllocation)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return real(flags, size);
}

// GDI: each creation or selection answers as the platform does when it is out of GDI
// resources.
HDC WINAPI FaultCreateCompatibleDC(HDC dc) {
    QF_PLATFORM(L"gdi32.dll", CreateCompatibleDC);
    return CallFails(CallClass::kGdi) ? nullptr : HeldObject(real(dc));
}

HBITMAP WINAPI FaultCreateCompatibleBitmap(HDC dc, int width, int height) {
    QF_PLATFORM(L"gdi32.dll", CreateCompatibleBitmap);
    return CallFails(CallClass::kGdi) ? nullptr : HeldObject(real(dc, width, height));
}

HBITMAP WINAPI FaultCreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                                   const BITMAPINFO* info, UINT usage) {
    QF_PLATFORM(L"gdi32.dll", CreateDIBitmap);
    return CallFails(CallClass::kGdi) ? nullptr : HeldObject(real(dc, header, init, bits, info, usage));
}

HBITMAP WINAPI FaultCreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                     DWORD offset) {
    QF_PLATFORM(L"gdi32.dll", CreateDIBSection);
    if (CallFails(CallClass::kGdi)) {
        if (bits) *bits = nullptr;
        return nullptr;
    }
    return HeldObject(real(dc, info, usage, bits, section, offset));
}

HGDIOBJ WINAPI FaultSelectObject(HDC dc, HGDIOBJ object) {
    QF_PLATFORM(L"gdi32.dll", SelectObject);
    if (CallFails(CallClass::kGdi)) return nullptr;
    HGDIOBJ previous = real(dc, object);
    if (previous && GetObjectType(object) == OBJ_BITMAP) {
        SelectedBitmaps().erase(previous);
        SelectedBitmaps()[object] = dc;
    }
    return previous;
}

HFONT WINAPI FaultCreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                              DWORD underline, DWORD strikeOut, DWORD charSet, DWORD precision, DWORD clip,
                              DWORD quality, DWORD pitch, LPCWSTR face) {
    QF_PLATFORM(L"gdi32.dll", CreateFontW);
    return CallFails(CallClass::kGdi) ? nullptr
                                      : HeldObject(real(height, width, escapement, orientation, weight, italic,
                                                        underline, strikeOut, charSet, precision, clip, quality,
                                                        pitch, face));
}

HFONT WINAPI FaultCreateFontIndirectW(const LOGFONTW* font) {
    QF_PLATFORM(L"gdi32.dll", CreateFontIndirectW);
    return CallFails(CallClass::kGdi) ? nullptr : HeldObject(real(font));
}

HBRUSH WINAPI FaultCreateSolidBrush(COLORREF color) {
    QF_PLATFORM(L"gdi32.dll", CreateSolidBrush);
    return CallFails(CallClass::kGdi) ? nullptr : HeldObject(real(color));
}

HPEN WINAPI FaultCreatePen(int style, int width, COLORREF color) {
    QF_PLATFORM(L"gdi32.dll", CreatePen);
    return CallFails(CallClass::kGdi) ? nullptr : HeldObject(real(style, width, color));
}

HANDLE WINAPI FaultLoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int width, int height, UINT flags) {
    QF_PLATFORM(L"user32.dll", LoadImageW);
    if (CallFails(CallClass::kGdi)) return nullptr;
    HANDLE image = real(instance, name, type, width, height, flags);
    if (type == IMAGE_BITMAP && !(flags & LR_SHARED)) HeldObject(static_cast<HGDIOBJ>(image));
    return image;
}

HANDLE WINAPI FaultLoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int width, int height, UINT flags) {
    QF_PLATFORM(L"user32.dll", LoadImageA);
    if (CallFails(CallClass::kGdi)) return nullptr;
    HANDLE image = real(instance, name, type, width, height, flags);
    if (type == IMAGE_BITMAP && !(flags & LR_SHARED)) HeldObject(static_cast<HGDIOBJ>(image));
    return image;
}

HBITMAP WINAPI FaultLoadBitmapW(HINSTANCE instance, LPCWSTR name) {
    QF_PLATFORM(L"user32.dll", LoadBitmapW);
    return CallFails(CallClass::kGdi) ? nullptr : HeldObject(real(instance, name));
}

// USER: a dialog or window that cannot be made, a control that cannot be found.
INT_PTR WINAPI FaultDialogBoxParamW(HINSTANCE instance, LPCWSTR name, HWND owner, DLGPROC procedure, LPARAM param) {
    QF_PLATFORM(L"user32.dll", DialogBoxParamW);
    if (CallFails(CallClass::kUser)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return -1;
    }
    return real(instance, name, owner, procedure, param);
}

HWND WINAPI FaultCreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR title, DWORD style, int x, int y,
                                 int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    QF_PLATFORM(L"user32.dll", CreateWindowExW);
    if (CallFails(CallClass::kUser)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return real(exStyle, className, title, style, x, y, width, height, parent, menu, instance, param);
}

HWND WINAPI FaultGetDlgItem(HWND dialog, int id) {
    QF_PLATFORM(L"user32.dll", GetDlgItem);
    if (CallFails(CallClass::kUser)) {
        SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
        return nullptr;
    }
    return real(dialog, id);
}

// The spooler: the simulated spooler behind a counter.
BOOL SpoolerFails() {
    if (!CallFails(CallClass::kSpooler)) return FALSE;
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return TRUE;
}

BOOL WINAPI FaultOpenPrinterW(LPWSTR name, LPHANDLE handle, LPPRINTER_DEFAULTSW defaults) {
    if (SpoolerFails()) {
        if (handle) *handle = nullptr;
        return FALSE;
    }
    return SimOpenPrinterW(name, handle, defaults);
}

// A close that fails still ends the handle's life in the spooler: nothing the caller can
// do with it afterwards.
BOOL WINAPI FaultClosePrinter(HANDLE handle) {
    const BOOL fails = SpoolerFails();
    const BOOL closed = SimClosePrinter(handle);
    return fails ? FALSE : closed;
}

BOOL WINAPI FaultGetPrinterW(HANDLE handle, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed) {
    if (SpoolerFails()) {
        if (needed) *needed = 0;
        return FALSE;
    }
    return SimGetPrinterW(handle, level, buffer, size, needed);
}

BOOL WINAPI FaultSetPrinterW(HANDLE handle, DWORD level, LPBYTE buffer, DWORD command) {
    return SpoolerFails() ? FALSE : SimSetPrinterW(handle, level, buffer, command);
}

BOOL WINAPI FaultGetPrinterDriverW(HANDLE handle, LPWSTR environment, DWORD level, LPBYTE buffer, DWORD size,
                                   LPDWORD needed) {
    if (SpoolerFails()) {
        if (needed) *needed = 0;
        return FALSE;
    }
    return SimGetPrinterDriverW(handle, environment, level, buffer, size, needed);
}

BOOL WINAPI FaultGetPrinterDriverDirectoryW(LPWSTR server, LPWSTR environment, DWORD level, LPBYTE buffer,
                                            DWORD size, LPDWORD needed) {
    if (SpoolerFails()) {
        if (needed) *needed = 0;
        return FALSE;
    }
    return SimGetPrinterDriverDirectoryW(server, environment, level, buffer, size, needed);
}

DWORD WINAPI FaultGetPrinterDataW(HANDLE handle, LPWSTR valueName, LPDWORD type, LPBYTE data, DWORD size,
                                  LPDWORD needed) {
    if (CallFails(CallClass::kSpooler)) {
        if (needed) *needed = 0;
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    return SimGetPrinterDataW(handle, valueName, type, data, size, needed);
}

DWORD WINAPI FaultStartDocPrinterW(HANDLE handle, DWORD level, LPBYTE docInfo) {
    return SpoolerFails() ? 0 : SimStartDocPrinterW(handle, level, docInfo);
}

BOOL WINAPI FaultStartPagePrinter(HANDLE handle) {
    return SpoolerFails() ? FALSE : SimStartPagePrinter(handle);
}

BOOL WINAPI FaultEndPagePrinter(HANDLE handle) { return SpoolerFails() ? FALSE : SimEndPagePrinter(handle); }

BOOL WINAPI FaultEndDocPrinter(HANDLE handle) { return SpoolerFails() ? FALSE : SimEndDocPrinter(handle); }

BOOL WINAPI FaultAbortPrinter(HANDLE handle) { return SpoolerFails() ? FALSE : SimAbortPrinter(handle); }

// A write that fails takes nothing; a short one takes the first half of the bytes.
BOOL WINAPI FaultWritePrinter(HANDLE handle, LPVOID buffer, DWORD size, LPDWORD written) {
    const bool fails = CallFails(CallClass::kWrite);
    const bool shortWrite = CallFails(CallClass::kShortWrite);
    if (fails) {
        if (written) *written = 0;
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    if (shortWrite) return SimWritePrinter(handle, buffer, size / 2, written);
    return SimWritePrinter(handle, buffer, size, written);
}

// Files: an open refused (a locked file), a size that cannot be read, a read that fails or
// comes back short (a file cut while it is read).
HANDLE WINAPI FaultCreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                               DWORD disposition, DWORD flags, HANDLE templateFile) {
    QF_PLATFORM(L"kernel32.dll", CreateFileW);
    if (CallFails(CallClass::kFileOpen)) {
        SetLastError(ERROR_SHARING_VIOLATION);
        return INVALID_HANDLE_VALUE;
    }
    return HeldFile(real(name, access, share, security, disposition, flags, templateFile));
}

HANDLE WINAPI FaultCreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                               DWORD disposition, DWORD flags, HANDLE templateFile) {
    QF_PLATFORM(L"kernel32.dll", CreateFileA);
    if (CallFails(CallClass::kFileOpen)) {
        SetLastError(ERROR_SHARING_VIOLATION);
        return INVALID_HANDLE_VALUE;
    }
    return HeldFile(real(name, access, share, security, disposition, flags, templateFile));
}

DWORD WINAPI FaultGetFileSize(HANDLE file, LPDWORD high) {
    QF_PLATFORM(L"kernel32.dll", GetFileSize);
    if (CallFails(CallClass::kFileSize)) {
        SetLastError(ERROR_READ_FAULT);
        return INVALID_FILE_SIZE;
    }
    return real(file, high);
}

BOOL WINAPI FaultGetFileSizeEx(HANDLE file, PLARGE_INTEGER size) {
    QF_PLATFORM(L"kernel32.dll", GetFileSizeEx);
    if (CallFails(CallClass::kFileSize)) {
        SetLastError(ERROR_READ_FAULT);
        return FALSE;
    }
    return real(file, size);
}

BOOL WINAPI FaultReadFile(HANDLE file, LPVOID buffer, DWORD size, LPDWORD read, LPOVERLAPPED overlapped) {
    const bool fails = CallFails(CallClass::kFileRead);
    const bool shortRead = CallFails(CallClass::kShortRead);
    if (fails) {
        if (read) *read = 0;
        SetLastError(ERROR_READ_FAULT);
        return FALSE;
    }
    return SimReadFile(file, buffer, shortRead ? size / 2 : size, read, overlapped);
}

BOOL WINAPI FaultCloseHandle(HANDLE handle) {
    QF_PLATFORM(L"kernel32.dll", CloseHandle);
    {
        const BooksHeld hold(Bookkeeping());
        HeldFiles().erase(handle);
    }
    return real(handle);
}

BOOL WINAPI FaultDeleteObject(HGDIOBJ object) {
    QF_PLATFORM(L"gdi32.dll", DeleteObject);
    if (SelectedBitmaps().count(object)) return FALSE;
    const BOOL deleted = real(object);
    if (deleted) HeldGdi().erase(object);
    return deleted;
}

BOOL WINAPI FaultDeleteDC(HDC dc) {
    QF_PLATFORM(L"gdi32.dll", DeleteDC);
    const BOOL deleted = real(dc);
    if (deleted) {
        HeldGdi().erase(dc);
        for (auto at = SelectedBitmaps().begin(); at != SelectedBitmaps().end();)
            at = at->second == dc ? SelectedBitmaps().erase(at) : std::next(at);
    }
    return deleted;
}

// The C runtime's file calls (the colour sample reads its picture with them).
using WfopenFn = FILE*(__cdecl*)(const wchar_t*, const wchar_t*);
using FreadFn = size_t(__cdecl*)(void*, size_t, size_t, FILE*);

FILE* __cdecl FaultWfopen(const wchar_t* name, const wchar_t* mode) {
    static const auto real = Platform<WfopenFn>(L"msvcrt.dll", "_wfopen");
    if (CallFails(CallClass::kFileOpen)) {
        errno = EACCES;
        return nullptr;
    }
    return real(name, mode);
}

size_t __cdecl FaultFread(void* buffer, size_t size, size_t count, FILE* file) {
    static const auto real = Platform<FreadFn>(L"msvcrt.dll", "fread");
    const bool fails = CallFails(CallClass::kFileRead);
    const bool shortRead = CallFails(CallClass::kShortRead);
    if (fails) return 0;
    return real(buffer, size, shortRead ? count / 2 : count, file);
}

}  // namespace

const char* CallClassName(CallClass callClass) {
    switch (callClass) {
    case CallClass::kAllocation: return "allocation";
    case CallClass::kGdi: return "GDI";
    case CallClass::kUser: return "USER";
    case CallClass::kSpooler: return "spooler";
    case CallClass::kWrite: return "WritePrinter fails";
    case CallClass::kShortWrite: return "WritePrinter short";
    case CallClass::kFileOpen: return "file open";
    case CallClass::kFileSize: return "file size";
    case CallClass::kFileRead: return "file read";
    case CallClass::kShortRead: return "short read";
    case CallClass::kCount: break;
    }
    return "?";
}

void ResetCalls() { State() = FaultState{}; }

CallCounts Calls() { return State().counts; }

void FailCall(CallClass callClass, int nth) {
    State().armedClass = callClass;
    State().armedCall = nth;
}

int FailedCalls() { return State().failed; }

size_t ModuleHeapBlocks() {
    const BooksHeld hold(Bookkeeping());
    return HeldBlocks().size();
}
size_t ModuleFiles() {
    const BooksHeld hold(Bookkeeping());
    return HeldFiles().size();
}
size_t ModuleGdiObjects() { return HeldGdi().size(); }

bool CallFails(CallClass callClass) {
    const BooksHeld hold(Bookkeeping());
    FaultState& state = State();
    const int call = ++state.counts[static_cast<size_t>(callClass)];
    if (callClass != state.armedClass || call != state.armedCall) return false;
    ++state.failed;
    return true;
}

std::vector<ImportRoute> FaultRoutes() {
    const char* spool = "winspool.drv";
    const char* kernel = "kernel32.dll";
    const char* user = "user32.dll";
    const char* gdi = "gdi32.dll";
    std::vector<ImportRoute> routes;
    for (const char* crt : {"msvcrt.dll", "api-ms-win-crt-heap-l1-1-0.dll", "ucrtbase.dll"}) {
        routes.push_back({crt, "malloc", reinterpret_cast<void*>(&FaultMalloc)});
        routes.push_back({crt, "calloc", reinterpret_cast<void*>(&FaultCalloc)});
        routes.push_back({crt, "realloc", reinterpret_cast<void*>(&FaultRealloc)});
        routes.push_back({crt, "free", reinterpret_cast<void*>(&FaultFree)});
        routes.push_back({crt, "_wfopen", reinterpret_cast<void*>(&FaultWfopen)});
        routes.push_back({crt, "fread", reinterpret_cast<void*>(&FaultFread)});
    }
    const std::vector<ImportRoute> rest = {
        {kernel, "HeapAlloc", reinterpret_cast<void*>(&FaultHeapAlloc)},
        {kernel, "LocalAlloc", reinterpret_cast<void*>(&FaultLocalAlloc)},
        {kernel, "GlobalAlloc", reinterpret_cast<void*>(&FaultGlobalAlloc)},
        {gdi, "CreateCompatibleDC", reinterpret_cast<void*>(&FaultCreateCompatibleDC)},
        {gdi, "CreateCompatibleBitmap", reinterpret_cast<void*>(&FaultCreateCompatibleBitmap)},
        {gdi, "CreateDIBitmap", reinterpret_cast<void*>(&FaultCreateDIBitmap)},
        {gdi, "CreateDIBSection", reinterpret_cast<void*>(&FaultCreateDIBSection)},
        {gdi, "SelectObject", reinterpret_cast<void*>(&FaultSelectObject)},
        {gdi, "CreateFontW", reinterpret_cast<void*>(&FaultCreateFontW)},
        {gdi, "CreateFontIndirectW", reinterpret_cast<void*>(&FaultCreateFontIndirectW)},
        {gdi, "CreateSolidBrush", reinterpret_cast<void*>(&FaultCreateSolidBrush)},
        {gdi, "CreatePen", reinterpret_cast<void*>(&FaultCreatePen)},
        {user, "LoadImageW", reinterpret_cast<void*>(&FaultLoadImageW)},
        {user, "LoadImageA", reinterpret_cast<void*>(&FaultLoadImageA)},
        {user, "LoadBitmapW", reinterpret_cast<void*>(&FaultLoadBitmapW)},
        {user, "DialogBoxParamW", reinterpret_cast<void*>(&FaultDialogBoxParamW)},
        {user, "CreateWindowExW", reinterpret_cast<void*>(&FaultCreateWindowExW)},
        {user, "GetDlgItem", reinterpret_cast<void*>(&FaultGetDlgItem)},
        {spool, "OpenPrinterW", reinterpret_cast<void*>(&FaultOpenPrinterW)},
        {spool, "ClosePrinter", reinterpret_cast<void*>(&FaultClosePrinter)},
        {spool, "GetPrinterW", reinterpret_cast<void*>(&FaultGetPrinterW)},
        {spool, "SetPrinterW", reinterpret_cast<void*>(&FaultSetPrinterW)},
        {spool, "GetPrinterDriverW", reinterpret_cast<void*>(&FaultGetPrinterDriverW)},
        {spool, "GetPrinterDriverDirectoryW", reinterpret_cast<void*>(&FaultGetPrinterDriverDirectoryW)},
        {spool, "GetPrinterDataW", reinterpret_cast<void*>(&FaultGetPrinterDataW)},
        {spool, "StartDocPrinterW", reinterpret_cast<void*>(&FaultStartDocPrinterW)},
        {spool, "StartPagePrinter", reinterpret_cast<void*>(&FaultStartPagePrinter)},
        {spool, "WritePrinter", reinterpret_cast<void*>(&FaultWritePrinter)},
        {spool, "EndPagePrinter", reinterpret_cast<void*>(&FaultEndPagePrinter)},
        {spool, "EndDocPrinter", reinterpret_cast<void*>(&FaultEndDocPrinter)},
        {spool, "AbortPrinter", reinterpret_cast<void*>(&FaultAbortPrinter)},
        {kernel, "CreateFileW", reinterpret_cast<void*>(&FaultCreateFileW)},
        {kernel, "CreateFileA", reinterpret_cast<void*>(&FaultCreateFileA)},
        {kernel, "GetFileSize", reinterpret_cast<void*>(&FaultGetFileSize)},
        {kernel, "GetFileSizeEx", reinterpret_cast<void*>(&FaultGetFileSizeEx)},
        {kernel, "ReadFile", reinterpret_cast<void*>(&FaultReadFile)},
        {kernel, "CloseHandle", reinterpret_cast<void*>(&FaultCloseHandle)},
        {gdi, "DeleteObject", reinterpret_cast<void*>(&FaultDeleteObject)},
        {gdi, "DeleteDC", reinterpret_cast<void*>(&FaultDeleteDC)},
    };
    routes.insert(routes.end(), rest.begin(), rest.end());
    return routes;
}

}  // namespace sim
