// The system the tests were built for: the few cases whose right answer is
// that system's own say which it is.
#ifndef ZELKOR_TEST_SUPPORT_BUILT_FOR_H_
#define ZELKOR_TEST_SUPPORT_BUILT_FOR_H_

#ifdef _WIN32
constexpr bool kBuiltForWindows = true;
#else
constexpr bool kBuiltForWindows = false;
#endif

#endif  // ZELKOR_TEST_SUPPORT_BUILT_FOR_H_
