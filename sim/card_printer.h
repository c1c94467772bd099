// The simulated card printer behind the simulated spooler's port side: what it answers,
// what it received, and the faults it can show.
#pragma once

#include <cstdint>
#include <map>
#include <set>
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

enum class PortVerb { kPrintFile, kSendCommands, kDownload };

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
    std::string commandReply;      // the answer to a command it only obeys (before the ACK)
    std::map<std::string, std::string> replies;  // answers to given commands, in place of the above
    PortFault fault = PortFault::kNone;
    // A fault of one command only, in place of `fault` (for example a track read without ACK).
    std::map<std::string, PortFault> commandFaults;
    // Port instructions the port side refuses, beside every one under kPortFails.
    std::set<PortVerb> failingInstructions;

    std::vector<std::string> received;          // every command, in order
    std::vector<PortInstruction> instructions;  // every port instruction carried out
    bool trace = false;                         // print traffic to standard output

    // The printer's answer to one command, without ACK: the question's answer, or
    // `commandReply` for commands it only obeys.
    std::string Answer(const std::string& command) const;
    // Carries out the commands of one query or job write: offsets are set, track data
    // loaded and encoded onto the card.
    void Obey(const std::string& bytes);
    // The fault that applies to `command`.
    PortFault FaultFor(const std::string& command) const;

    std::string pendingTracks[3];  // loaded by "\e&B", written by "\e&E*"
};

// Control bytes made visible: ESC as \e, CR as \r, ACK as <ACK>, others as \xNN.
std::string Visible(const std::string& bytes);

}  // namespace sim
