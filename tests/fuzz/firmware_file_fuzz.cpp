// Firmware files under arbitrary bytes: the classification reads only the bytes there,
// and the job made from a file announces its size and carries the file whole, in
// blocks no larger than the printer takes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "driver/tools/firmware_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Exactly the file's bytes on the heap, so that AddressSanitizer sees any read past them.
    const std::string file(reinterpret_cast<const char*>(data), size);
    const qf::FirmwareClass found = qf::ClassifyFirmware(file);
    qf::CheckByteText(found.checkByte);
    const std::vector<std::string> writes = qf::FirmwareJobWrites(file);
    if (writes.size() < 2) std::abort();  // a header and a trailer at the least
    size_t carried = 0;
    for (size_t i = 1; i + 1 < writes.size(); ++i) {
        if (writes[i].size() > qf::kFirmwareBlockBytes) std::abort();
        carried += writes[i].size();
    }
    if (carried != size) std::abort();
    return 0;
}
