#pragma once
// What every fuzz target provides. The same target file builds two ways: with clang's
// libFuzzer (scripts/fuzz.sh), which generates inputs, and with the project's compiler and
// replay_main.cpp, which feeds it every file of its corpus folder and the crafted inputs
// below, as an ordinary ctest test.
//
// A target checks what must hold whatever the input (no output past its bounds, round trips,
// lists without duplicates...) and stops the process on a broken rule, so both builds report it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fuzz {

// Inputs too large or too slow to build by mutation: the shapes that once cost gigabytes or
// minutes. Made in code rather than kept as files of hundreds of kilobytes.
struct CraftedInput {
  std::string name;
  std::string bytes;
};
std::vector<CraftedInput> CraftedInputs();

[[noreturn]] inline void Fail(const char* rule, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: broken rule: %s\n", file, line, rule);
  std::fflush(stderr);
  std::abort();
}

// Takes fields from the front of an input; past its end every field reads as zero.
class InputReader {
 public:
  InputReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  template <typename T>
  T Take() {
    T value{};
    uint8_t* out = reinterpret_cast<uint8_t*>(&value);
    for (size_t i = 0; i < sizeof(T) && at_ < size_; ++i) out[i] = data_[at_++];
    return value;
  }
  std::string_view TakeBytes(size_t count) {
    count = count < size_ - at_ ? count : size_ - at_;
    std::string_view bytes(reinterpret_cast<const char*>(data_ + at_), count);
    at_ += count;
    return bytes;
  }
  std::string_view Rest() { return TakeBytes(size_ - at_); }
  size_t Left() const { return size_ - at_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

inline void Feed(std::string_view bytes) {
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace fuzz

#define FUZZ_CHECK(rule) ((rule) ? (void)0 : ::fuzz::Fail(#rule, __FILE__, __LINE__))
