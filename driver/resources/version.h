// The driver's version as the About box shows it (and the version resource carries).
#pragma once

namespace qf {
inline constexpr wchar_t kVersionText[] = L"4.00.07";
}
