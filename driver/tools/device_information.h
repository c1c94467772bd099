// The Device Information dialog's content: the questions it asks the printer, in their
// order, and the text each field shows for the printer's answers or for their absence.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qf {

// Every question of the dialog uses one reply buffer of this size.
constexpr size_t kDeviceReplyBytes = 105;

// The fixed texts the dialog shows, loaded by the caller from the module's string table:
// UTF-16, as the user reads them in any language, whatever the system's ANSI code page.
constexpr size_t kSmartCardOptionCount = 6;
struct DeviceInformationTexts {
    std::u16string unknown;        // the ribbon is not known: "Unknown"
    std::u16string notAvailable;   // no remaining count: "N/A"
    std::u16string yes;            // an encoder, and no smart-card option: "Yes", "No"
    std::u16string no;
    // The smart-card options in the order of kSmartCardModelCodes: "Contact Encoder" ..
    // "MIFARE contactless".
    std::array<std::u16string, kSmartCardOptionCount> smartCards;
};

// The panel count field when the printer gives no count.
inline constexpr std::u16string_view kNoPanelCountText = u" ";

// The smart-card option, named by the first of these model codes that the model text
// contains, in this order.
inline constexpr std::array<std::string_view, kSmartCardOptionCount> kSmartCardModelCodes = {
    "862kB", "862kC", "862kD", "862kE", "862kF", "862kH",
};
constexpr int kNoSmartCard = -1;

// The smart-card option of a model text: the index of the first code it contains, else
// kNoSmartCard.
int SmartCardOption(std::string_view modelText);

// The panel count from the text of the printer's reply to "\e!NL\r": cut at the first
// space, one leading '!' skipped, the decimal digits at the start read as an unsigned
// number ("!1234 xyz" gives "1234"; no digits give "0"; a number too large for 32 bits
// gives 4294967295).
std::string PanelCountText(std::string_view replyText);

// The remaining-count field for the reply to "\e!RIBLEN\r": the text of a complete reply
// whose first character is not '0' (a reply of ACK alone shows its empty text); nothing
// when the reply is not complete or starts with '0' (no count known).
std::optional<std::string> RemainingCount(bool complete, std::string_view replyText);

// The dialog's fields as the user reads them (UTF-16): the fixed texts as loaded, the
// catalogue's ribbon name as read, the printer's own bytes as `PrinterText` gives them.
struct DeviceInformation {
    bool ribbonAnswered;     // false: the printer gave no ribbon reply and nothing else was asked
    std::u16string ribbonType;
    std::u16string remainingCount;
    std::u16string encoder;
    std::u16string model;
    std::u16string smartCard;
    std::u16string serialNumber;
    std::u16string panelsPrinted;
};

// Sends `command` to the printer; the reply goes to `buffer` (`size` bytes) and its byte
// count to `count`. True when the call succeeded.
using DeviceQuery = std::function<bool(std::string_view command, char* buffer, size_t size, uint32_t* count)>;
// The ribbon catalogue's name for a ribbon key, or the "Unknown" text when the catalogue
// or the key is missing.
using RibbonNameLookup = std::function<std::u16string(std::string_view key)>;
// The printer's bytes (8-bit text in the system's ANSI code page) as the user reads them.
using PrinterText = std::function<std::u16string(std::string_view bytes)>;

// Asks the printer every question of the dialog and fills its fields:
// Every fixed text comes from `texts`:
//  1. the ribbon: a printer that returns no bytes at all (the call failed, or a count of
//     0 or beyond the buffer) gives "Unknown" and "N/A", and nothing else is asked;
//  2. a complete ribbon reply is the catalogue key (an empty key is "Unknown"); only
//     then is the remaining count asked; an incomplete one gives "Unknown" and "N/A";
//  3. the encoder: "Yes" for a complete reply starting with '1', else "No";
//  4.-6. the model (and from it the smart-card option) and the serial number: the reply
//     text when complete, else empty;
//  7. the panel count when complete, else a single space.
// Replies are read only within the count the port side reports and the buffer.
DeviceInformation GatherDeviceInformation(const DeviceQuery& query, const RibbonNameLookup& ribbonName,
                                          const DeviceInformationTexts& texts, const PrinterText& printerText);

}  // namespace qf
