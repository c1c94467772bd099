// What the settings adopt of the printer's answers.
#include "driver/settings/printer_report.h"

namespace qf {

bool AnsweredAny(const PrinterReport& report) {
    return report.encoderAsked == QuestionOutcome::kAnswered || report.ribbonAsked == QuestionOutcome::kAnswered;
}

uint16_t EncoderAfterQuestion(uint16_t current, QuestionOutcome asked, bool encoder) {
    if (asked != QuestionOutcome::kAnswered) return current;
    return encoder ? 1 : 0;
}

PrinterAdoption AdoptPrinterReport(const PrivateSettings& settings, const PrinterReport& report, bool offline) {
    const uint16_t current = settings.encoderSettings.encoderPresent;
    PrinterAdoption adoption{false, settings.ribbonType, false, current, false};
    const uint16_t encoder = offline ? 1 : EncoderAfterQuestion(current, report.encoderAsked, report.encoder);
    if (encoder != current) {
        adoption.encoderChanged = true;
        adoption.encoderPresent = encoder;
    }
    if (offline) return adoption;
    if (report.ribbonAsked != QuestionOutcome::kAnswered) {
        // Nothing half-known is stored; a printer that answered nothing at all is not
        // worth a notice, one that answered the encoder question but not this one is.
        adoption.ribbonUnknown = AnsweredAny(report);
    } else if (settings.ribbonType != report.ribbon) {
        adoption.ribbonChanged = true;
        adoption.ribbon = report.ribbon;
    }
    return adoption;
}

}  // namespace qf
