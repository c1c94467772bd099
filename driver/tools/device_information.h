// The Device Information dialog's content: the questions it asks the printer, in their
// order, and the text each field shows for the printer's answers or for their absence.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace qf {

// Every question of the dialog uses one reply buffer of this size.
constexpr size_t kDeviceReplyBytes = 105;

// Texts shown when the printer does not tell.
inline constexpr std::string_view kUnknownRibbonText = "Unknown";
inline constexpr std::string_view kNoRemainingCountText = "N/A";
inline constexpr std::string_view kNoPanelCountText = " ";
inline constexpr std::string_view kYesText = "Yes";
inline constexpr std::string_view kNoText = "No";

// The smart-card option, named by the first of these model codes that the model text
// contains, in this order.
struct SmartCardOption {
    std::string_view modelCode;
    std::string_view text;
};
inline constexpr SmartCardOption kSmartCardOptions[] = {
    {"862kB", "Contact Encoder"},
    {"862kC", "Contact Encoder and HID iCLASS"},
    {"862kD", "Contact Encoder and MIFARE"},
    {"862kE", "Contact Station"},
    {"862kF", "HID iCLASS"},
    {"862kH", "MIFARE contactless"},
};

// The smart-card field for a model text: the first option whose code it contains, else "No".
std::string_view SmartCardText(std::string_view modelText);

// The panel count from the text of the printer's reply to "\e!NL\r": cut at the first
// space, one leading '!' skipped, the decimal digits at the start read as an unsigned
// number ("!1234 xyz" gives "1234"; no digits give "0"; a number too large for 32 bits
// gives 4294967295).
std::string PanelCountText(std::string_view replyText);

// The remaining-count field for the reply to "\e!RIBLEN\r": its text, or "N/A" when the
// reply is not complete, is empty or starts with '0' (no count known).
std::string RemainingCountText(bool complete, std::string_view replyText);

// The dialog's fields, as 8-bit text in the ANSI code page.
struct DeviceInformation {
    bool ribbonAnswered;     // false: the printer gave no ribbon reply and nothing else was asked
    std::string ribbonType;
    std::string remainingCount;
    std::string encoder;
    std::string model;
    std::string smartCard;
    std::string serialNumber;
    std::string panelsPrinted;
};

// Sends `command` to the printer; the reply goes to `buffer` (`size` bytes) and its byte
// count to `count`. True when the call succeeded.
using DeviceQuery = std::function<bool(std::string_view command, char* buffer, size_t size, uint32_t* count)>;
// The ribbon catalogue's name for a ribbon key, or kUnknownRibbonText when the catalogue
// or the key is missing.
using RibbonNameLookup = std::function<std::string(std::string_view key)>;

// Asks the printer every question of the dialog and fills its fields:
//  1. the ribbon: a printer that returns no bytes at all (the call failed, or a count of
//     0 or beyond the buffer) gives "Unknown" and "N/A", and nothing else is asked;
//  2. a complete ribbon reply is the catalogue key (an empty key is "Unknown"); only
//     then is the remaining count asked; an incomplete one gives "Unknown" and "N/A";
//  3. the encoder: "Yes" for a complete reply starting with '1', else "No";
//  4.-6. the model (and from it the smart-card option) and the serial number: the reply
//     text when complete, else empty;
//  7. the panel count when complete, else a single space.
// Replies are read only within the count the port side reports and the buffer.
DeviceInformation GatherDeviceInformation(const DeviceQuery& query, const RibbonNameLookup& ribbonName);

}  // namespace qf
