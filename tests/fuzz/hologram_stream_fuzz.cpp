// The hologram image stream under arbitrary data: the block encoder writes exactly what
// the byte-by-byte encoder writes, the decoder gives the data back, and the decoders
// take any bytes without harm.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "driver/overlay/hologram_decoder.h"
#include "driver/overlay/hologram_stream.h"

namespace {

using Writes = std::vector<std::string>;

void Collect(void* context, const uint8_t* bytes, size_t length) {
    static_cast<Writes*>(context)->emplace_back(reinterpret_cast<const char*>(bytes), length);
}

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static auto rle = std::make_unique<qf::HologramRle>();

    // Encoded in one block and byte by byte: the same writes.
    Writes block, bytewise;
    qf::HologramRleEncode(*rle, {Collect, &block}, data, size);
    const qf::ByteSink sink = {Collect, &bytewise};
    qf::HologramRleReset(*rle);
    for (size_t i = 0; i < size; ++i) qf::HologramRleAdd(*rle, sink, data[i]);
    qf::HologramRleFlush(*rle, sink);
    Check(block == bytewise);

    // Read back: the same data, every stream byte used.
    std::string stream;
    for (const std::string& write : block) stream += write;
    std::vector<uint8_t> decoded(size);
    size_t consumed = 0;
    std::string error;
    Check(qf::DecodeHologramPackets(reinterpret_cast<const uint8_t*>(stream.data()), stream.size(),
                                    decoded.data(), decoded.size(), &consumed, &error));
    Check(consumed == stream.size());
    Check(std::string_view(reinterpret_cast<const char*>(decoded.data()), size) ==
          std::string_view(reinterpret_cast<const char*>(data), size));

    // The input itself as a stream and as a job: refused or read, never out of bounds.
    std::vector<uint8_t> out(4096);
    qf::DecodeHologramPackets(data, size, out.data(), out.size(), &consumed, nullptr);
    qf::HologramJobContent content;
    qf::DecodeHologramImageJob(std::string_view(reinterpret_cast<const char*>(data), size), content, nullptr);
    return 0;
}
