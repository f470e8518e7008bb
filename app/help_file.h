#pragma once
// Reading a compiled HTML help file: its topics, its default topic and its context map
// (help context number -> topic), without any window.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace app {

inline constexpr std::string_view kHelpFileName = "Tervana.chm";

// The context map from the file's "#IVB" table (u32 byte count, then pairs of u32 context
// number and u32 offset into "#STRINGS") and its "#STRINGS" block of zero-terminated names.
// Pairs that point outside the strings are left out; a count larger than the table is cut.
std::map<std::uint32_t, std::string> ParseContextMap(std::string_view ivb, std::string_view strings);

// The default topic from the file's "#SYSTEM" table (u32 version, then records of u16 code,
// u16 length and data; code 2 holds the default topic), if it names one.
std::optional<std::string> ParseDefaultTopic(std::string_view system);

// A topic name as stored ("index.htm", "sub\\page.htm", or a compiler's absolute path) as an
// object path inside the file: forward slashes and one leading slash.
std::string NormaliseTopicPath(std::string_view name);

class HelpFile {
 public:
  HelpFile();
  ~HelpFile();
  HelpFile(const HelpFile&) = delete;
  HelpFile& operator=(const HelpFile&) = delete;

  // False when the file is missing or is not a compiled help file.
  bool Open(const std::string& path);
  bool IsOpen() const;
  const std::string& Path() const { return path_; }

  // The object path of the context's topic, or nothing when the map does not hold it.
  std::optional<std::string> TopicOfContext(std::uint32_t context) const;
  // The default topic; without one, the first HTML page of the file.
  std::optional<std::string> DefaultTopic() const;
  // An object's bytes ("/index.htm"), or nothing when it is absent (paths compare without case).
  std::optional<std::string> Read(std::string_view objectPath) const;
  bool Contains(std::string_view objectPath) const;

 private:
  // A stored topic name as an existing object path: when the name as stored does not exist,
  // its trailing parts are tried ("/tmp/help/index.htm" -> "/help/index.htm" -> "/index.htm").
  std::optional<std::string> ResolveTopic(std::string_view name) const;

  struct Handle;
  std::unique_ptr<Handle> handle_;
  std::string path_;
  std::map<std::uint32_t, std::string> contexts_;
  std::optional<std::string> defaultTopic_;
};

}  // namespace app
