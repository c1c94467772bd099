// What the printer reported when a sheet asked it its encoder and ribbon, and what the
// settings adopt of it.
#pragma once

#include <cstdint>

#include "driver/settings/private_settings.h"

namespace qf {

// What became of one question to the printer.
enum class QuestionOutcome : uint8_t {
    kCallFailed,  // the printer-data call failed: the question never reached the printer
    kNoAnswer,    // the call went through, but the reply was empty or incomplete
    kAnswered,    // a complete reply
};

// What the printer reported when the sheet asked. Each question counts on its own.
struct PrinterReport {
    QuestionOutcome encoderAsked;
    bool encoder;  // the encoder answer tells of an encoder
    QuestionOutcome ribbonAsked;
    uint8_t ribbon;  // the ribbon code of the ribbon answer
};
// The printer answered at least one question completely.
bool AnsweredAny(const PrinterReport& report);

struct PrinterAdoption {
    bool ribbonChanged;      // the user is told, and `ribbonType` becomes `ribbon`
    uint8_t ribbon;
    bool encoderChanged;     // `encoderPresent` becomes `encoderPresent`
    uint16_t encoderPresent;
    bool ribbonUnknown;      // the printer answered, but not which ribbon: the user is told, the ribbon kept
};

// The encoder flag after the encoder question: a complete answer decides it ("1" sets it,
// any other answer clears it); a question without answer keeps `current`, so a printer
// that was briefly unreachable does not lose its encoder.
uint16_t EncoderAfterQuestion(uint16_t current, QuestionOutcome asked, bool encoder);

// The corrections the sheet makes when it opens. A ribbon answer is adopted unless the
// configuration is offline, whatever became of the encoder question; an encoder answer is
// adopted whatever became of the ribbon question; a question without answer keeps what
// the settings say. The offline configuration always offers the encoder.
PrinterAdoption AdoptPrinterReport(const PrivateSettings& settings, const PrinterReport& report, bool offline);

}  // namespace qf
