// The sizes and version of the driver's settings record, which every answer about
// the record reports.
#pragma once

#include <cstdint>

namespace qf {

constexpr int32_t kPublicSize = 212;    // the public DEVMODE part, version 0x0401
constexpr int32_t kPrivateSize = 3856;  // the private block that follows it
constexpr int32_t kRecordSize = kPublicSize + kPrivateSize;
constexpr int32_t kSpecVersion = 0x0401;
constexpr uint32_t kPublicFields = 0x07805F03;  // the public fields the driver supports

}  // namespace qf
