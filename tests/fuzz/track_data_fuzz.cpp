// Track texts under arbitrary characters: the track check's decision always keeps a
// prefix of the text, and the text it keeps passes the check for that track.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "driver/encoder/track_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const int track = data[0] % 5;  // 1..3 are tracks; 0 and 4 are not
    std::u16string text;
    for (size_t i = 1; i + 1 < size; i += 2) text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    std::u16string repaired = text;
    // The edit reports again after every repair, so a text settles after some repairs.
    for (size_t rounds = 0; rounds <= text.size() + 1; ++rounds) {
        const qf::TrackCheckResult result = qf::CheckTrackText(track, repaired);
        if (result.keep > repaired.size()) std::abort();
        if (result.outcome == qf::TrackCheck::kAccepted) {
            if (result.keep != repaired.size()) std::abort();
            if (track >= 1 && track <= 3 && repaired.size() > qf::TrackMaxChars(track)) std::abort();
            return 0;
        }
        if (result.keep >= repaired.size()) std::abort();  // every repair shortens the text
        repaired.resize(result.keep);
    }
    std::abort();  // the text never settled
}
