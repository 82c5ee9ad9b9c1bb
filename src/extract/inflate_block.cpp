#include "extract/inflate_block.h"

#include <algorithm>
#include <zlib.h>

namespace kestrum {

namespace {
// A first buffer this many times the stream's length fits nearly every real
// file, so honest archives are inflated into one allocation of the prefix length.
constexpr std::uint64_t kFirstGuessRatio = 16;
constexpr std::uint64_t kSmallestBuffer = 64 * 1024;

struct StreamEnd {
    z_stream* stream;
    ~StreamEnd() { inflateEnd(stream); }
};
}  // namespace

int InflateBlock(const unsigned char* source, std::uint32_t sourceLength, std::uint32_t limit, HeapBuffer& out,
                 std::uint32_t& outLength) {
    const std::uint64_t ceiling = std::min<std::uint64_t>(limit, kMaxInflateRatio * sourceLength + 258);
    std::uint64_t capacity =
        std::min(ceiling, std::max(kFirstGuessRatio * sourceLength, kSmallestBuffer));
    out.Resize(static_cast<std::size_t>(capacity));

    z_stream zs{};
    int ret = inflateInit(&zs);
    if (ret != Z_OK) return ret;
    const StreamEnd end{&zs};
    zs.next_in = const_cast<Bytef*>(source);
    zs.avail_in = sourceLength;

    std::uint64_t total = 0;
    for (;;) {
        zs.next_out = out.data() + total;
        zs.avail_out = static_cast<uInt>(capacity - total);
        ret = inflate(&zs, Z_NO_FLUSH);
        total = capacity - zs.avail_out;
        if (ret == Z_STREAM_END) {
            outLength = static_cast<std::uint32_t>(total);
            return Z_OK;
        }
        if (ret == Z_NEED_DICT) return Z_DATA_ERROR;
        if (ret != Z_OK && ret != Z_BUF_ERROR) return ret;
        if (zs.avail_out > 0) {
            if (zs.avail_in == 0) return Z_DATA_ERROR;  // the input ended before the stream did
            continue;
        }
        if (capacity < limit) {
            std::uint64_t next = std::max(capacity * 2, kSmallestBuffer);
            // Past the ceiling only if the stream proves it wrong, so that the
            // results stay those of a buffer of limit bytes.
            if (capacity < ceiling) next = std::min(next, ceiling);
            capacity = std::min<std::uint64_t>(next, limit);
            out.Resize(static_cast<std::size_t>(capacity));
            continue;
        }
        // The buffer is full at limit: the stream may still end without more
        // output (one more call tells), or it wants more than limit bytes.
        if (ret == Z_BUF_ERROR) return Z_BUF_ERROR;
    }
}

}  // namespace kestrum
