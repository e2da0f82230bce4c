// The one shape in which an operation of either program gives back how it
// went: its value, or what went wrong. What went wrong is a fact (what
// failed, where, which file, which limit), never a sentence: the programs'
// main sequences make the words. An outcome must be read, or dropped on
// purpose with a cast to void and a comment that says why.
#ifndef ZELKOR_BASE_OUTCOME_H_
#define ZELKOR_BASE_OUTCOME_H_

#include <utility>
#include <variant>

// The value of an operation that has none to give.
struct Done {};

template <typename Value, typename Failure>
class [[nodiscard]] Outcome {
 public:
  // An outcome that went well.
  Outcome(Value value)  // NOLINT: a value converts, as a return statement
      : state_(std::in_place_index<0>, std::move(value)) {}
  // An outcome that went wrong.
  static Outcome failed(Failure failure) {
    return Outcome(std::in_place_index<1>, std::move(failure));
  }

  bool ok() const { return state_.index() == 0; }
  const Value& value() const { return std::get<0>(state_); }
  Value& value() { return std::get<0>(state_); }
  const Failure& failure() const { return std::get<1>(state_); }

  // The same failure as another kind of outcome, to pass it on.
  template <typename Other>
  Outcome<Other, Failure> passOn() const {
    return Outcome<Other, Failure>::failed(failure());
  }

 private:
  template <size_t index, typename T>
  Outcome(std::in_place_index_t<index> which, T&& content)
      : state_(which, std::forward<T>(content)) {}

  std::variant<Value, Failure> state_;
};

#endif  // ZELKOR_BASE_OUTCOME_H_
