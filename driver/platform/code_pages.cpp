// The conversion rule of each code page.
#include "driver/platform/code_pages.h"

namespace qf {

ExactConversion ExactConversionFor(uint32_t codePage) {
    if (codePage == kUtf8CodePage) return {kErrorInvalidChars, false};
    if (codePage == kUtf7CodePage) return {0, false};
    const bool noFlags = codePage == 42 || (codePage >= 50220 && codePage <= 50229) ||
                         (codePage >= 57002 && codePage <= 57011);
    return {noFlags ? 0u : kNoBestFitChars, true};
}

}  // namespace qf
