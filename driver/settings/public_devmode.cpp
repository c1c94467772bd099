// The driver's default public part.
#include "driver/settings/public_devmode.h"

#include <cstring>

#include "driver/settings/capabilities.h"

namespace qf {
namespace {

// Copies a text into a zero-filled text field of `fieldChars` characters at `offset`, cut
// so that a terminating zero stays; the field is written through bytes because it may be
// unaligned.
void PutText(PublicDevmode& record, size_t offset, size_t fieldChars, std::u16string_view text) {
    const size_t chars = text.size() < fieldChars ? text.size() : fieldChars - 1;
    std::memcpy(reinterpret_cast<unsigned char*>(&record) + offset, text.data(), chars * sizeof(char16_t));
}

}  // namespace

PublicDevmode DriverDefaultPublicPart(const RecordNames& names) {

    PublicDevmode record;
    std::memset(&record, 0, sizeof(record));
    PutText(record, offsetof(PublicDevmode, dmDeviceName), kDeviceNameChars, names.deviceName);
    record.dmSpecVersion = static_cast<uint16_t>(kSpecVersion);
    record.dmDriverVersion = 1;
    record.dmSize = static_cast<uint16_t>(kPublicSize);
    record.dmDriverExtra = static_cast<uint16_t>(kPrivateSize);
    record.dmFields = kPublicFields;
    record.dmOrientation = 2;  // landscape
    record.dmPaperSize = static_cast<int16_t>(kCardPaperId);
    record.dmPaperLength = static_cast<int16_t>(kCardHeight);
    record.dmPaperWidth = static_cast<int16_t>(kCardWidth);
    record.dmScale = 100;
    record.dmCopies = 1;
    record.dmDefaultSource = static_cast<int16_t>(kCardFeederBinId);
    record.dmPrintQuality = 300;
    record.dmColor = 2;        // colour
    record.dmDuplex = 1;       // simplex
    record.dmYResolution = 300;
    record.dmTTOption = 1;     // TrueType as bitmaps
    record.dmCollate = 1;
    PutText(record, offsetof(PublicDevmode, dmFormName), kFormNameChars, names.formName);
    record.dmLogPixels = 300;
    record.dmBitsPerPel = 24;
    record.dmPelsWidth = 640;
    record.dmPelsHeight = 1024;
    record.dmICMMethod = 2;    // by the system
    record.dmICMIntent = 2;    // contrast
    record.dmMediaType = 3;    // glossy
    record.dmDitherType = 0;
    return record;
}

}  // namespace qf
