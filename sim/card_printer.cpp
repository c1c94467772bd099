// The simulated card printer.
#include "sim/card_printer.h"

#include <cstdio>

namespace sim {

std::string CardPrinter::Answer(const std::string& command) const {
    if (command == "\x1BV\r") return model;
    if (command == "\x1B!V 20\r") return encoder ? "1" : "0";
    if (command == "\x1B!RIBBON\r" && ribbonAckOnly) return std::string();
    if (command == "\x1B!RIBBON\r") return ribbonReply.empty() ? std::to_string(ribbonNumber) : ribbonReply;
    if (command == "\x1B!V 1\r") return std::to_string(offsetX);
    if (command == "\x1B!V 2\r") return std::to_string(offsetY);
    if (command == "\x1B%SERIE\r") return serialNumber;
    if (command == "\x1B!NL\r") return std::to_string(cardCount);
    if (command == "\x1B!RIBLEN\r") return std::to_string(ribbonRemaining);
    for (int track = 0; track < 3; ++track)
        if (command == "\x1B&L" + std::to_string(track + 1) + "\r") return tracks[track];
    return std::string();
}

std::string Visible(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        if (c == 0x1B) out += "\\e";
        else if (c == 0x0D) out += "\\r";
        else if (c == 0x06) out += "<ACK>";
        else if (c < 0x20 || c >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else out += static_cast<char>(c);
    }
    return out;
}

}  // namespace sim
