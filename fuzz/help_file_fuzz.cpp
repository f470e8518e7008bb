// The help file's own tables, decoded from byte buffers as the file's objects hold them: the
// input is the sizes of the "#IVB" and "#STRINGS" objects (4 bytes each), those objects, and
// the "#SYSTEM" object. (Reading the objects out of the compiled file is the library's part;
// the program decodes that in a child process before using a file.) Every context maps to a
// name found in the strings, and every topic name becomes an object path.
#include <algorithm>
#include <optional>

#include "app/help_file.h"
#include "fuzz/fuzz_target.h"
#include "platform/le_bytes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InputReader in(data, size);
  const uint32_t ivbSize = in.Take<uint32_t>();
  const uint32_t stringsSize = in.Take<uint32_t>();
  const std::string_view ivb = in.TakeBytes(ivbSize);
  const std::string_view strings = in.TakeBytes(stringsSize);
  const std::string_view system = in.Rest();

  const app::HelpContextMap contexts = app::ParseContextMap(ivb, strings);
  // The first contexts the table names (each lookup reads the whole table) and one it may not.
  const size_t named = ivb.size() >= 4 ? std::min<size_t>((ivb.size() - 4) / 8, 64) : 0;
  for (size_t i = 0; i <= named; ++i) {
    const uint32_t context = i < named ? le_bytes::GetU32(reinterpret_cast<const uint8_t*>(ivb.data()), 4 + 8 * i)
                                       : 0xFFFFFFFFu;
    const std::optional<std::string> name = contexts.TopicName(context);
    if (!name) continue;
    FUZZ_CHECK(!name->empty() && name->find('\0') == std::string::npos);
    FUZZ_CHECK(name->size() <= app::kMaxTopicNameLength && name->size() <= strings.size());
    const std::string path = app::NormaliseTopicPath(*name);
    FUZZ_CHECK(!path.empty() && path.front() == '/' && path.find('\\') == std::string::npos);
  }
  if (const std::optional<std::string> topic = app::ParseDefaultTopic(system)) {
    FUZZ_CHECK(!topic->empty() && topic->size() <= system.size());
    FUZZ_CHECK(app::NormaliseTopicPath(*topic).front() == '/');
  }
  return 0;
}

// Tables whose pairs all point into a megabyte of strings without a zero byte: copying each
// pair's name to the next zero byte held 2 GB for 16 KB of pairs, and failed an allocation for 480 KB.
std::vector<fuzz::CraftedInput> fuzz::CraftedInputs() {
  auto u32 = [](uint32_t v) {
    return std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 24)};
  };
  const std::string strings = std::string("\0index.htm\0", 11) + std::string(1 << 20, 'x');
  std::vector<fuzz::CraftedInput> inputs;
  for (const uint32_t tableBytes : {16u << 10, 480u << 10}) {
    std::string ivb = u32(tableBytes);
    for (uint32_t i = 0; i < tableBytes / 8; ++i) ivb += u32(i) + u32(11 + i);
    inputs.push_back({"pairs into a name without end, " + std::to_string(tableBytes >> 10) + " KB",
                      u32(static_cast<uint32_t>(ivb.size())) + u32(static_cast<uint32_t>(strings.size())) + ivb + strings});
  }
  return inputs;
}
