// Whole-file reading.
#include "sim/files.h"

#include <cstdio>

namespace sim {

bool ReadWholeFile(const std::wstring& path, std::vector<uint8_t>* bytes) {
    bytes->clear();
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) return false;
    uint8_t chunk[4096];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes->insert(bytes->end(), chunk, chunk + got);
    const bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

std::vector<uint8_t> ReadWholeFile(const std::wstring& path) {
    std::vector<uint8_t> bytes;
    ReadWholeFile(path, &bytes);
    return bytes;
}

}  // namespace sim
