#pragma once
// Reading a compiled HTML help file: its topics, its default topic and its context map
// (help context number -> topic), without any window.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace app {

inline constexpr std::string_view kHelpFileName = "Tervana.chm";

// No name in a help file is longer than a path may be in it.
inline constexpr std::size_t kMaxTopicNameLength = 512;

// The context map from the file's "#IVB" table (u32 byte count, then pairs of u32 context
// number and u32 offset into "#STRINGS") and its "#STRINGS" block of zero-terminated names.
// It keeps the two tables as they are and finds a context's name when asked: a damaged table
// whose pairs all point into one long name costs no more than the bytes the file holds.
class HelpContextMap {
 public:
  HelpContextMap() = default;
  HelpContextMap(std::string ivb, std::string strings);

  // The stored topic name of the first pair that names the context with a sound name: its
  // offset inside the strings, not empty, ended by a zero byte (or the block's end) within a
  // path's length. Nothing when no pair does. A count larger than the table is cut.
  std::optional<std::string> TopicName(std::uint32_t context) const;

 private:
  std::string ivb_;
  std::string strings_;
};

HelpContextMap ParseContextMap(std::string_view ivb, std::string_view strings);

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

  // False when the file is missing, is no regular file (a named pipe or a device is never
  // waited on), is not a compiled help file, or memory ran out opening it. When the file could
  // not be opened at all, error (if given) says why ("it is a named pipe"); else it is empty.
  bool Open(const std::string& path, std::string* error = nullptr);
  bool IsOpen() const;
  const std::string& Path() const { return path_; }

  // The object path of the context's topic, or nothing when the map does not hold it.
  std::optional<std::string> TopicOfContext(std::uint32_t context) const;
  // The default topic; without one, the first HTML page of the file.
  std::optional<std::string> DefaultTopic() const;
  // An object's bytes ("/index.htm"), or nothing when it is absent, can't be decoded or is
  // too large for the memory left (paths compare without case). Only the bytes the file really
  // yields are held, whatever length its directory claims.
  std::optional<std::string> Read(std::string_view objectPath) const;
  bool Contains(std::string_view objectPath) const;

 private:
  // A stored topic name as an existing object path: when the name as stored does not exist,
  // its trailing parts are tried ("/tmp/help/index.htm" -> "/help/index.htm" -> "/index.htm").
  std::optional<std::string> ResolveTopic(std::string_view name) const;

  struct Handle;
  std::unique_ptr<Handle> handle_;
  std::string path_;
  HelpContextMap contexts_;
  std::optional<std::string> defaultTopic_;
};

}  // namespace app
