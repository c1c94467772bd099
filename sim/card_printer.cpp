// The simulated card printer.
#include "sim/card_printer.h"

#include <cstdio>
#include <cstdlib>

namespace sim {

std::string CardPrinter::Answer(const std::string& command) const {
    const auto given = replies.find(command);
    if (given != replies.end()) return given->second;
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
    return commandReply;
}

void CardPrinter::Obey(const std::string& bytes) {
    // One command runs from ESC to its CR.
    size_t at = 0;
    while ((at = bytes.find('\x1B', at)) != std::string::npos) {
        const size_t end = bytes.find('\r', at);
        const std::string text = bytes.substr(at + 1, end == std::string::npos ? std::string::npos : end - at - 1);
        at = end == std::string::npos ? bytes.size() : end;
        if (text.rfind("+OY ", 0) == 0) {
            offsetY = std::atoi(text.c_str() + 4);
        } else if (text.rfind("+O ", 0) == 0) {
            offsetX = std::atoi(text.c_str() + 3);
        } else if (text.size() > 5 && text.rfind("&B ", 0) == 0 && text[3] >= '1' && text[3] <= '3') {
            pendingTracks[text[3] - '1'] = text.substr(5);
        } else if (text == "&E*") {
            for (int track = 0; track < 3; ++track) {
                if (!pendingTracks[track].empty()) tracks[track] = pendingTracks[track];
                pendingTracks[track].clear();
            }
        }
    }
}

PortFault CardPrinter::FaultFor(const std::string& command) const {
    const auto found = commandFaults.find(command);
    return found == commandFaults.end() ? fault : found->second;
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
