// Whole-file reading and writing for the tests and the workbench (wide paths, as Windows
// names them).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

// Reads the whole file into `bytes`; false when it cannot be opened or read.
bool ReadWholeFile(const std::wstring& path, std::vector<uint8_t>* bytes);

// The whole file, or nothing when it cannot be read.
std::vector<uint8_t> ReadWholeFile(const std::wstring& path);

// Writes `bytes` as the whole file; false when it cannot be written.
bool WriteWholeFile(const std::wstring& path, const std::string& bytes);

// A disk fault for the driver's file reads: from now on, a read of a file whose name
// ends with `name` (case ignored) fails once it starts at `fromOffset` or beyond. An
// empty name mends every fault.
void FailReadsOf(const std::wstring& name, uint64_t fromOffset);

// The stand-in with ReadFile's signature: the platform's read, unless a fault applies.
BOOL WINAPI SimReadFile(HANDLE file, LPVOID buffer, DWORD size, LPDWORD read, LPOVERLAPPED overlapped);

}  // namespace sim
