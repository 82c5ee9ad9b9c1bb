// Inflation of a compressed data block's zlib stream.
#pragma once

#include <cstdint>

#include "extract/heap_buffer.h"

namespace kestrum {

// Deflate cannot expand by more than 1032:1 (a 258-byte match in two 1-bit
// codes); the zlib header and trailer only add to the input.
constexpr std::uint64_t kMaxInflateRatio = 1032;

// Inflates source into out with the results of zlib's uncompress into a buffer
// of limit bytes: Z_OK and the true length (which may be below limit);
// Z_BUF_ERROR when the data inflate to more than limit; Z_DATA_ERROR for a
// damaged or unfinished stream; Z_MEM_ERROR. out grows with the output instead
// of taking limit bytes up front, and never beyond what source can inflate to,
// so a length that claims gigabytes costs nothing.
int InflateBlock(const unsigned char* source, std::uint32_t sourceLength, std::uint32_t limit, HeapBuffer& out,
                 std::uint32_t& outLength);

}  // namespace kestrum
