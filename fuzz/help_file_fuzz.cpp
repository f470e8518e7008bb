// The help file's own tables, decoded from byte buffers as the file's objects hold them: the
// input is the sizes of the "#IVB" and "#STRINGS" objects (4 bytes each), those objects, and
// the "#SYSTEM" object. (Reading the objects out of the compiled file is the library's part;
// the program decodes that in a child process before using a file.) Every context maps to a
// name found in the strings, and every topic name becomes an object path.
#include "app/help_file.h"
#include "fuzz/fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InputReader in(data, size);
  const uint32_t ivbSize = in.Take<uint32_t>();
  const uint32_t stringsSize = in.Take<uint32_t>();
  const std::string_view ivb = in.TakeBytes(ivbSize);
  const std::string_view strings = in.TakeBytes(stringsSize);
  const std::string_view system = in.Rest();

  const std::map<std::uint32_t, std::string> contexts = app::ParseContextMap(ivb, strings);
  FUZZ_CHECK(contexts.size() <= ivb.size() / 8);
  for (const auto& [context, name] : contexts) {
    FUZZ_CHECK(!name.empty() && name.find('\0') == std::string::npos);
    FUZZ_CHECK(name.size() <= strings.size());
    const std::string path = app::NormaliseTopicPath(name);
    FUZZ_CHECK(!path.empty() && path.front() == '/' && path.find('\\') == std::string::npos);
  }
  if (const std::optional<std::string> topic = app::ParseDefaultTopic(system)) {
    FUZZ_CHECK(!topic->empty() && topic->size() <= system.size());
    FUZZ_CHECK(app::NormaliseTopicPath(*topic).front() == '/');
  }
  return 0;
}

std::vector<fuzz::CraftedInput> fuzz::CraftedInputs() {
  return {};
}
