// Settings records under arbitrary bytes: the record gate never reads outside the bytes
// it is given, whether the record starts the buffer or lies inside it, and what it
// accepts copies into the driver's layout as a record it accepts again. The field
// description of the workbench reads no further than the bytes either.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "driver/settings/record_fields.h"
#include "driver/settings/record_rules.h"
#include "driver/settings/record_sizes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Exactly the input's bytes on the heap, so that AddressSanitizer sees any read past them.
    const std::vector<uint8_t> bytes(data, data + size);
    const bool usable = qf::IsUsableRecord(bytes.data(), bytes.size());
    if (usable != (qf::RecordRefusal(bytes.data(), bytes.size()) == nullptr)) std::abort();
    if (usable) {
        std::vector<uint8_t> copy(qf::kRecordSize);
        qf::CopyDriverRecord(bytes.data(), copy.data());
        if (!qf::IsUsableRecord(copy.data(), copy.size())) std::abort();
    }
    // The same bytes as a record somewhere inside a buffer: the first byte says where.
    if (size > 1) {
        const size_t at = data[0] % size;
        if (qf::IsUsableRecordIn(bytes.data(), bytes.size(), bytes.data() + at) !=
            qf::IsUsableRecord(bytes.data() + at, bytes.size() - at))
            std::abort();
    }
    qf::DescribeFields(bytes.data(), bytes.size(), size % 2 == 0);
    return 0;
}
