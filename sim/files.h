// Whole-file reading for the tests and the workbench (wide paths, as Windows names them).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

// Reads the whole file into `bytes`; false when it cannot be opened or read.
bool ReadWholeFile(const std::wstring& path, std::vector<uint8_t>* bytes);

// The whole file, or nothing when it cannot be read.
std::vector<uint8_t> ReadWholeFile(const std::wstring& path);

}  // namespace sim
