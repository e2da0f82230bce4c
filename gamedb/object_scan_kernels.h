// The ways the object scan looks at the bytes, for the scan itself and for
// the tests of each. The pass takes 32 bytes at a time where the processor
// has AVX2, else 16 (SSE2, which every x86-64 processor has), and one at a
// time on other processors and at the end of the buffer. Two vector widths,
// because the wider one is measured faster: a scan of 256 MiB of filler
// thick with '?' and cut-off type names takes 37 ms against 47 ms on the
// 2-core build machine.
#ifndef ZELKOR_GAMEDB_OBJECT_SCAN_KERNELS_H_
#define ZELKOR_GAMEDB_OBJECT_SCAN_KERNELS_H_

#include <cstdint>

#include "gamedb/object_scan.h"

// kWidest: the widest the processor has; the others for the tests of the
// narrower paths. All give the same result.
enum class ScanKernel { kWidest, kSse2, kBytewise };

GameObjectPositions findGameObjectsWith(const uint8_t* bytes, int32_t length,
                                        ScanKernel kernel);

#endif  // ZELKOR_GAMEDB_OBJECT_SCAN_KERNELS_H_
