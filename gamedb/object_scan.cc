#include "gamedb/object_scan.h"

#include "gamedb/object_scan_kernels.h"

#include <algorithm>
#include <cstring>

#include "gamedb/object_layout.h"

#if defined(__x86_64__)
#include <immintrin.h>
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
    if (found.hexObjectCount++ < kMostHexesOfAMap) {
      found.hexObjects.push_back(start - kTypeNameOffset);
    }
  } else if (start >= kFirstMapDescriptionTypeName &&
             left >= kMapDescriptionTypeNameLength &&
             std::memcmp(bytes + start, kMapDescriptionTypeName,
                         kMapDescriptionTypeNameLength) == 0) {
    found.mapDescription = start - kTypeNameOffset;
  }
}

// Candidates are starts with '?' there and 'p' ten bytes on; only those get
// the full comparison. This keeps the pass at memory speed even when the file
// is full of '?' or of cut-off type names. Each returns the first start it
// did not look at.
#if defined(__x86_64__)
__attribute__((target("avx2"))) int32_t scanBlocksAvx2(
    const uint8_t* bytes, int32_t length, int32_t lastStart,
    GameObjectPositions& found) {
  const __m256i question = _mm256_set1_epi8('?');
  const __m256i p = _mm256_set1_epi8('p');
  int32_t start = 0;
  for (; start + 31 <= lastStart; start += 32) {
    const __m256i first =
        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + start));
    const __m256i last = _mm256_loadu_si256(
        reinterpret_cast<const __m256i*>(bytes + start + kLastPrefixByte));
    uint32_t mask = static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_and_si256(
        _mm256_cmpeq_epi8(first, question), _mm256_cmpeq_epi8(last, p))));
    while (mask != 0) {
      classify(bytes, length, start + __builtin_ctz(mask), found);
      mask &= mask - 1;
    }
  }
  return start;
}

int32_t scanBlocksSse2(const uint8_t* bytes, int32_t length, int32_t lastStart,
                       GameObjectPositions& found) {
  const __m128i question = _mm_set1_epi8('?');
  const __m128i p = _mm_set1_epi8('p');
  int32_t start = 0;
  for (; start + 15 <= lastStart; start += 16) {
    const __m128i first =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + start));
    const __m128i last = _mm_loadu_si128(
        reinterpret_cast<const __m128i*>(bytes + start + kLastPrefixByte));
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(
        _mm_cmpeq_epi8(first, question), _mm_cmpeq_epi8(last, p))));
    while (mask != 0) {
      classify(bytes, length, start + __builtin_ctz(mask), found);
      mask &= mask - 1;
    }
  }
  return start;
}
#endif

int32_t scanBlocks(const uint8_t* bytes, int32_t length, int32_t lastStart,
                   ScanKernel kernel, GameObjectPositions& found) {
#if defined(__x86_64__)
  if (kernel == ScanKernel::kBytewise) return 0;
  if (kernel == ScanKernel::kWidest && __builtin_cpu_supports("avx2")) {
    return scanBlocksAvx2(bytes, length, lastStart, found);
  }
  return scanBlocksSse2(bytes, length, lastStart, found);
#else
  return 0;
#endif
}

}  // namespace

GameObjectPositions findGameObjects(const uint8_t* bytes, int32_t length) {
  return findGameObjectsWith(bytes, length, ScanKernel::kWidest);
}

GameObjectPositions findGameObjectsWith(const uint8_t* bytes, int32_t length,
                                        ScanKernel kernel) {
  GameObjectPositions found;
  if (length < kSharedPrefixLength) return found;
  const int32_t lastStart = length - kSharedPrefixLength;
  int32_t start = scanBlocks(bytes, length, lastStart, kernel, found);
  for (; start <= lastStart; ++start) {
    if (bytes[start] == '?' && bytes[start + kLastPrefixByte] == 'p') {
      classify(bytes, length, start, found);
    }
  }
  return found;
}

int32_t findHexObjects(const GameObjectPositions& found,
                       std::vector<int32_t>& positions) {
  const size_t used = std::min(positions.size(), found.hexObjects.size());
  std::copy_n(found.hexObjects.begin(), used, positions.begin());
  return found.hexObjectCount;
}
