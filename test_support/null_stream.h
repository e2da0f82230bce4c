// An output stream that keeps nothing, for running the console phases of a
// run where their lines are not wanted (benchmarks, fuzzing).
#ifndef ZELKOR_TEST_SUPPORT_NULL_STREAM_H_
#define ZELKOR_TEST_SUPPORT_NULL_STREAM_H_

#include <ostream>
#include <streambuf>

class NullStream : public std::ostream {
 public:
  NullStream() : std::ostream(&discard_) {}

 private:
  class Discard : public std::streambuf {
   protected:
    int overflow(int c) override { return c; }
  };
  Discard discard_;
};

#endif  // ZELKOR_TEST_SUPPORT_NULL_STREAM_H_
