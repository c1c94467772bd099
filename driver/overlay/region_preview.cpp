// The region editors' preview and bitmap files.
#include "driver/overlay/region_preview.h"

#include <cstring>
#include <new>

#include "driver/platform/owners.h"
#include "driver/resources/resource.h"

bool ReadMonochromeFile(const wchar_t* path, MonochromeFile* file) {
    file->bytes.reset();
    file->size = 0;
    if (!path || !path[0]) return false;
    const qf::FileHandle opened(
        CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!opened.Valid()) return false;
    HANDLE handle = opened.Get();
    bool read = false;
    LARGE_INTEGER length = {};
    if (GetFileSizeEx(handle, &length) && length.QuadPart >= 0) {
        // The file's own length decides, never the size its header claims.
        const size_t wanted = static_cast<uint64_t>(length.QuadPart) < qf::kMonochromeFileMaxBytes
                                  ? static_cast<size_t>(length.QuadPart)
                                  : qf::kMonochromeFileMaxBytes;
        file->bytes.reset(new (std::nothrow) uint8_t[wanted ? wanted : 1]);
        if (file->bytes) {
            read = true;
            while (file->size < wanted) {
                DWORD got = 0;
                const DWORD ask = static_cast<DWORD>(wanted - file->size);
                if (!ReadFile(handle, file->bytes.get() + file->size, ask, &got, nullptr)) {
                    read = false;
                    break;
                }
                if (got == 0) break;  // the file got shorter meanwhile: the check sees what is there
                file->size += got;
            }
        }
    }
    if (!read) {
        file->bytes.reset();
        file->size = 0;
    }
    return read;
}

bool LoadMonochromeBitmap(const wchar_t* path, MonochromeFile* file, qf::MonochromeBitmap* bitmap) {
    return ReadMonochromeFile(path, file) &&
           qf::CheckMonochromeBitmap(file->bytes.get(), file->size, bitmap) == qf::BitmapCheck::Ok;
}

StoredPath PathOf(const qf::OverlayRegion& region) {
    StoredPath path;
    std::memcpy(path.text, region.bitmapPath, sizeof region.bitmapPath);
    path.text[qf::kBitmapPathChars] = L'\0';
    return path;
}

qf::PixelRect GetPreviewRect(HWND dialog) {
    // The group box where the dialog manager placed it, and the base units of the dialog's
    // own font: the shell dialog font is another face in each language (wider in Japanese
    // than the system's), so the system's base units would put the box beside its group.
    RECT group = {};
    GetWindowRect(GetDlgItem(dialog, IDC_PREVIEW_GROUP), &group);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&group), 2);
    RECT units = {0, 0, 4, 8};
    MapDialogRect(dialog, &units);
    return qf::PreviewRectFromGroupBox({group.left, group.top, group.right, group.bottom}, units.right, units.bottom);
}

namespace {

void DrawRect(HDC dc, const qf::PixelRect& rect, bool black) {
    HGDIOBJ previous = SelectObject(dc, GetStockObject(black ? BLACK_BRUSH : WHITE_BRUSH));
    Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
    SelectObject(dc, previous);
}

}  // namespace

void PaintRegionPreview(HDC dc, HWND dialog, qf::RegionEditor editor, const qf::OverlayRegion& region) {
    const qf::PixelRect box = GetPreviewRect(dialog);
    const qf::PreviewPlan plan = qf::RegionPreviewPlan(editor, region, box);
    switch (plan.kind) {
    case qf::PreviewKind::Box:
        DrawRect(dc, box, plan.boxBlack);
        if (plan.hasRect) DrawRect(dc, plan.rect, !plan.boxBlack);
        break;
    case qf::PreviewKind::Bitmap:
        DrawBitmapPreview(dialog, dc, PathOf(region).text, region.rotated != 0);
        break;
    case qf::PreviewKind::Nothing:
        break;
    }
}

void DrawBitmapPreview(HWND dialog, HDC dc, const wchar_t* path, bool rotated) {
    MonochromeFile file;
    qf::MonochromeBitmap bitmap{};
    if (!LoadMonochromeBitmap(path, &file, &bitmap)) return;
    // Index 0 is black and index 1 white, whatever colours the file names; the rows are
    // described by a classic header whatever header the file has, top line first (a
    // negative height) when the file stores them so.
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } info = {};
    info.header = {sizeof(BITMAPINFOHEADER), bitmap.width, bitmap.topDown ? -bitmap.height : bitmap.height, 1, 1,
                   BI_RGB, 0, 0, 0, 2, 0};
    info.colours[1] = {255, 255, 255, 0};
    const qf::PixelRect box = GetPreviewRect(dialog);
    const int width = box.right - box.left, height = box.bottom - box.top;
    // Turned, the image is drawn from the box's far corner with negative extents.
    const int x = rotated ? box.right - 1 : box.left, y = rotated ? box.bottom - 1 : box.top;
    StretchDIBits(dc, x, y, rotated ? -width : width, rotated ? -height : height, 0, 0, bitmap.width, bitmap.height,
                  bitmap.rows, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY);
}
