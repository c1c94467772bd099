// The simulated card printer behind the simulated spooler's port side: what it answers,
// what it received, and the faults it can show.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

enum class PortFault {
    kNone,
    kNoAnswer,     // the printer-data call fails
    kEmptyReply,   // the call succeeds with no bytes
    kNoAck,        // the reply lacks its closing ACK
    kOversized,    // the reply is larger than any buffer the driver offers
    kPortFails,    // port instructions ("PrintFile:", "sendcmds:", "download:") fail
};

struct PortInstruction {
    std::string verb;   // "PrintFile", "sendcmds" or "download"
    std::string path;
    std::vector<uint8_t> contents;  // the file as the port side read it
};

struct CardPrinter {
    std::string model = "Vestria Q862k 1.07";  // fits the sheets' 20-byte model buffer
    bool encoder = true;
    int ribbonNumber = 2;          // the printer's number for a YMCKO ribbon
    std::string ribbonReply;       // when set, the ribbon answer instead of the number
    bool ribbonAckOnly = false;    // the ribbon answer is ACK alone
    int offsetX = 0, offsetY = 0;
    std::string serialNumber = "Q862K-000123";
    int cardCount = 1520;
    int ribbonRemaining = 214;
    std::string tracks[3] = {"ABC123", "12345", "67890"};
    PortFault fault = PortFault::kNone;

    std::vector<std::string> received;          // every command, in order
    std::vector<PortInstruction> instructions;  // every port instruction carried out
    bool trace = false;                         // print traffic to standard output

    // The printer's answer to one command, without ACK; empty for commands it only obeys.
    std::string Answer(const std::string& command) const;
};

// Control bytes made visible: ESC as \e, CR as \r, ACK as <ACK>, others as \xNN.
std::string Visible(const std::string& bytes);

}  // namespace sim
