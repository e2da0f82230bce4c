#include "gamedb/object_scan.h"

#include <cstring>

#include "gamedb/object_layout.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Both type names begin with "?AVtMetaMap" and differ from byte 11 on.
constexpr char kSharedPrefix[] = "?AVtMetaMap";
constexpr int32_t kSharedPrefixLength = 11;
constexpr int32_t kLastPrefixByte = kSharedPrefixLength - 1;  // the 'p'

void classify(const uint8_t* bytes, int32_t length, int32_t start,
              GameObjectPositions& found) {
  if (std::memcmp(bytes + start, kSharedPrefix, kSharedPrefixLength) != 0) {
    return;
  }
  const int32_t left = length - start;
  if (start >= kFirstHexTypeName && left >= kHexTypeNameLength &&
      std::memcmp(bytes + start, kHexTypeName, kHexTypeNameLength) == 0) {
    found.hexObjects.push_back(start - kTypeNameOffset);
  } else if (start >= kFirstMapDescriptionTypeName &&
             left >= kMapDescriptionTypeNameLength &&
             std::memcmp(bytes + start, kMapDescriptionTypeName,
                         kMapDescriptionTypeNameLength) == 0) {
    found.mapDescription = start - kTypeNameOffset;
  }
}

}  // namespace

GameObjectPositions findGameObjects(const uint8_t* bytes, int32_t length) {
  GameObjectPositions found;
  if (length < kSharedPrefixLength) return found;
  // Candidates are starts with '?' there and 'p' ten bytes on; only those get
  // the full comparison. This keeps the pass at memory speed even when the
  // file is full of '?' or of cut-off type names.
  const int32_t lastStart = length - kSharedPrefixLength;
  int32_t start = 0;
#if defined(__SSE2__)
  const __m128i question = _mm_set1_epi8('?');
  const __m128i p = _mm_set1_epi8('p');
  for (; start + 15 <= lastStart; start += 16) {
    const __m128i first = _mm_loadu_si128(
        reinterpret_cast<const __m128i*>(bytes + start));
    const __m128i last = _mm_loadu_si128(
        reinterpret_cast<const __m128i*>(bytes + start + kLastPrefixByte));
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(
        _mm_cmpeq_epi8(first, question), _mm_cmpeq_epi8(last, p))));
    while (mask != 0) {
      classify(bytes, length, start + __builtin_ctz(mask), found);
      mask &= mask - 1;
    }
  }
#endif
  for (; start <= lastStart; ++start) {
    if (bytes[start] == '?' && bytes[start + kLastPrefixByte] == 'p') {
      classify(bytes, length, start, found);
    }
  }
  return found;
}
