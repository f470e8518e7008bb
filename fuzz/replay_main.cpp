// Replays a fuzz target's corpus: every regular file of the folders given, in name order,
// then the target's crafted inputs. A broken rule or a crash ends the process, which fails
// the test; an input that asks for far more memory than its size could justify fails too,
// because the address space is bounded first.
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/fuzz_target.h"

namespace {

// No input here is above a few megabytes; a parser that holds more than this for one is at fault.
constexpr rlim_t kAddressSpaceBytes = rlim_t{1} << 30;

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

int main(int argc, char** argv) {
  const rlimit limit{kAddressSpaceBytes, kAddressSpaceBytes};
  setrlimit(RLIMIT_AS, &limit);
  size_t replayed = 0;
  for (int i = 1; i < argc; ++i) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(argv[i]))
      if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
      std::fprintf(stderr, "%s\n", file.c_str());
      fuzz::Feed(ReadFile(file));
      ++replayed;
    }
  }
  for (const fuzz::CraftedInput& input : fuzz::CraftedInputs()) {
    std::fprintf(stderr, "crafted: %s (%zu bytes)\n", input.name.c_str(), input.bytes.size());
    fuzz::Feed(input.bytes);
    ++replayed;
  }
  std::printf("replayed %zu inputs\n", replayed);
  return replayed > 0 ? 0 : 1;
}
