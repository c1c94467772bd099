// Small owners of platform resources: each releases what it holds when it goes out of
// scope, on every path, including an exception unwinding to the entry point's guard.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <cstdlib>

namespace qf {

// A printer handle from OpenPrinterW, closed at the end.
class PrinterHandle {
public:
    PrinterHandle() = default;
    explicit PrinterHandle(HANDLE handle) : handle_(handle) {}
    ~PrinterHandle() { Reset(); }
    PrinterHandle(const PrinterHandle&) = delete;
    PrinterHandle& operator=(const PrinterHandle&) = delete;

    // Opens `name` asking for `access` only: PRINTER_ACCESS_USE for questions, port
    // instructions and jobs, which every user who may print is given;
    // PRINTER_ACCESS_ADMINISTER for a store into the printer's record, which the platform
    // refuses an ordinary user. False when the spooler refuses.
    bool Open(const wchar_t* name, ACCESS_MASK access) {
        PRINTER_DEFAULTSW defaults = {nullptr, nullptr, access};
        return Open(name, &defaults);
    }
    // Opens `name` with `defaults` (may be null); false when the spooler refuses.
    bool Open(const wchar_t* name, PRINTER_DEFAULTSW* defaults) {
        Reset();
        HANDLE opened = nullptr;
        if (!OpenPrinterW(const_cast<LPWSTR>(name), &opened, defaults)) return false;
        handle_ = opened;
        return true;
    }
    HANDLE Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset() {
        if (handle_) ClosePrinter(handle_);
        handle_ = nullptr;
    }

private:
    HANDLE handle_ = nullptr;
};

// A file handle from CreateFile, closed at the end.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (Valid()) CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

// A block from the runtime heap (the spooler's records), freed at the end.
template <typename T>
class HeapRecord {
public:
    explicit HeapRecord(T* record = nullptr) : record_(record) {}
    ~HeapRecord() { std::free(record_); }
    HeapRecord(const HeapRecord&) = delete;
    HeapRecord& operator=(const HeapRecord&) = delete;
    T* Get() const { return record_; }
    T* operator->() const { return record_; }
    // Frees the record held and holds `record` instead.
    void Reset(T* record) {
        std::free(record_);
        record_ = record;
    }
    explicit operator bool() const { return record_ != nullptr; }

private:
    T* record_;
};

// A window's paint, BeginPaint to EndPaint.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC Dc() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_ = {};
    HDC dc_;
};

// A memory device context, deleted at the end (which also lets go of what is selected).
class MemoryDc {
public:
    explicit MemoryDc(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDc() {
        if (dc_) DeleteDC(dc_);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HDC dc_;
};

// A GDI object the module made, deleted at the end. Declare it before the device context
// it is selected into, so that the context is gone (and the object free) first.
class GdiObject {
public:
    explicit GdiObject(HGDIOBJ object) : object_(object) {}
    ~GdiObject() {
        if (object_) DeleteObject(object_);
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    HGDIOBJ Get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    HGDIOBJ object_;
};

// A selection into a device context, undone at the end.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~Selection() {
        if (*this) SelectObject(dc_, previous_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    // False when the object could not be selected: nothing may be drawn with it.
    explicit operator bool() const { return previous_ != nullptr && previous_ != HGDI_ERROR; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Disables control `id` while an action runs: the button the user pressed. It is enabled
// again when the scope ends, on every path.
class DisabledWhile {
public:
    DisabledWhile(HWND dialog, int id) : control_(GetDlgItem(dialog, id)) { EnableWindow(control_, FALSE); }
    ~DisabledWhile() { EnableWindow(control_, TRUE); }
    DisabledWhile(const DisabledWhile&) = delete;
    DisabledWhile& operator=(const DisabledWhile&) = delete;

private:
    HWND control_;
};

}  // namespace qf
