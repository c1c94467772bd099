// How a text is converted exactly into the system's ANSI code page, for the bytes the
// printer's port side reads (file paths, commands): the flags the platform accepts differ
// by code page, and a flag it does not accept for the code page fails the conversion.
#pragma once

#include <cstdint>

namespace qf {

constexpr uint32_t kNoBestFitChars = 0x00000400;   // WC_NO_BEST_FIT_CHARS
constexpr uint32_t kErrorInvalidChars = 0x00000080;  // WC_ERR_INVALID_CHARS
constexpr uint32_t kUtf7CodePage = 65000;
constexpr uint32_t kUtf8CodePage = 65001;

struct ExactConversion {
    uint32_t flags;       // the conversion's flags
    bool askUsedDefault;  // a character the code page lacks is reported (used-default flag)
};

// UTF-8 holds every character: no best-fit flag and no used-default question, which the
// platform refuses for it; text that is not UTF-16 is refused instead. UTF-7 and the
// ISO-2022 and ISCII code pages take no flags at all. Every other code page converts
// without best-fit substitutes and reports a character it lacks.
ExactConversion ExactConversionFor(uint32_t codePage);

}  // namespace qf
