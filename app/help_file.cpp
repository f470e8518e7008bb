#include "app/help_file.h"

#include <chm_lib.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "platform/isolated_run.h"
#include "platform/le_bytes.h"

namespace app {
namespace {

// No help object comes near this; a damaged length field must not make us allocate gigabytes.
constexpr LONGUINT64 kMaxObjectSize = 64ull * 1024 * 1024;

std::uint32_t ReadU32(std::string_view bytes, std::size_t at) {
  return le_bytes::GetU32(reinterpret_cast<const std::uint8_t*>(bytes.data()), at);
}

std::uint16_t ReadU16(std::string_view bytes, std::size_t at) {
  return le_bytes::GetU16(reinterpret_cast<const std::uint8_t*>(bytes.data()), at);
}

std::string ZeroTerminated(std::string_view bytes, std::size_t at) {
  const std::size_t end = bytes.find('\0', at);
  return std::string(bytes.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at));
}

bool IsHtmlName(std::string_view path) {
  auto endsWith = [&](std::string_view suffix) {
    if (path.size() < suffix.size()) return false;
    return std::equal(suffix.begin(), suffix.end(), path.end() - suffix.size(), [](char a, char b) {
      return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
  };
  return endsWith(".htm") || endsWith(".html");
}

}  // namespace

std::map<std::uint32_t, std::string> ParseContextMap(std::string_view ivb, std::string_view strings) {
  std::map<std::uint32_t, std::string> map;
  if (ivb.size() < 4) return map;
  std::size_t end = 4 + std::min<std::size_t>(ReadU32(ivb, 0), ivb.size() - 4);
  for (std::size_t at = 4; at + 8 <= end; at += 8) {
    const std::uint32_t context = ReadU32(ivb, at);
    const std::uint32_t offset = ReadU32(ivb, at + 4);
    if (offset >= strings.size()) continue;
    std::string name = ZeroTerminated(strings, offset);
    if (name.empty()) continue;
    map.emplace(context, std::move(name));
  }
  return map;
}

std::optional<std::string> ParseDefaultTopic(std::string_view system) {
  std::size_t at = 4;  // after the version
  while (at + 4 <= system.size()) {
    const std::uint16_t code = ReadU16(system, at);
    const std::uint16_t length = ReadU16(system, at + 2);
    at += 4;
    if (at + length > system.size()) break;
    if (code == 2) {
      std::string topic = ZeroTerminated(system.substr(at, length), 0);
      if (!topic.empty()) return topic;
    }
    at += length;
  }
  return std::nullopt;
}

std::string NormaliseTopicPath(std::string_view name) {
  std::string path(name);
  std::replace(path.begin(), path.end(), '\\', '/');
  // Links inside pages may carry an anchor or a storage prefix; neither names an object.
  if (const auto hash = path.find('#'); hash != std::string::npos) path.erase(hash);
  if (const auto prefix = path.find("::"); prefix != std::string::npos) path.erase(0, prefix + 2);
  if (path.empty() || path.front() != '/') path.insert(path.begin(), '/');
  return path;
}

struct HelpFile::Handle {
  chmFile* file = nullptr;
  ~Handle() {
    if (file != nullptr) chm_close(file);
  }
};

namespace {

constexpr int kValidationTimeoutMs = 10000;

// Opens the file and decodes every object in it, as later reads would.
bool DecodesWhole(const std::string& path) {
  chmFile* file = chm_open(path.c_str());
  if (file == nullptr) return false;
  auto readEach = [](chmFile* owner, chmUnitInfo* info, void*) -> int {
    if (info->length > 0 && info->length <= kMaxObjectSize) {
      std::string bytes(static_cast<std::size_t>(info->length), '\0');
      chm_retrieve_object(owner, info, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                          static_cast<LONGINT64>(info->length));
    }
    return CHM_ENUMERATOR_CONTINUE;
  };
  chm_enumerate(file, CHM_ENUMERATE_ALL, readEach, nullptr);
  chm_close(file);
  return true;
}

}  // namespace

HelpFile::HelpFile() = default;
HelpFile::~HelpFile() = default;

bool HelpFile::Open(const std::string& path) {
  handle_.reset();
  contexts_.clear();
  defaultTopic_.reset();
  path_ = path;
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  // The decoder library crashes on some damaged files. Every object is decoded once in a
  // child process first; a file that takes the child down is treated as unreadable.
  const auto validation = platform::RunIsolated([&path] { return DecodesWhole(path); }, kValidationTimeoutMs);
  if (validation == platform::IsolatedResult::Crashed || validation == platform::IsolatedResult::TimedOut) {
    return false;
  }
  auto handle = std::make_unique<Handle>();
  handle->file = chm_open(path.c_str());
  if (handle->file == nullptr) return false;
  handle_ = std::move(handle);

  const auto ivb = Read("/#IVB");
  const auto strings = Read("/#STRINGS");
  if (ivb && strings) contexts_ = ParseContextMap(*ivb, *strings);
  if (const auto system = Read("/#SYSTEM")) defaultTopic_ = ParseDefaultTopic(*system);
  return true;
}

bool HelpFile::IsOpen() const { return handle_ != nullptr; }

std::optional<std::string> HelpFile::Read(std::string_view objectPath) const {
  if (!handle_) return std::nullopt;
  const std::string path(objectPath);
  chmUnitInfo info{};
  if (chm_resolve_object(handle_->file, path.c_str(), &info) != CHM_RESOLVE_SUCCESS) return std::nullopt;
  if (info.length > kMaxObjectSize) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(info.length), '\0');
  if (info.length == 0) return bytes;
  const LONGINT64 got = chm_retrieve_object(handle_->file, &info,
                                            reinterpret_cast<unsigned char*>(bytes.data()), 0,
                                            static_cast<LONGINT64>(info.length));
  if (got <= 0) return std::nullopt;
  bytes.resize(static_cast<std::size_t>(got));
  return bytes;
}

bool HelpFile::Contains(std::string_view objectPath) const {
  if (!handle_) return false;
  const std::string path(objectPath);
  chmUnitInfo info{};
  return chm_resolve_object(handle_->file, path.c_str(), &info) == CHM_RESOLVE_SUCCESS;
}

std::optional<std::string> HelpFile::ResolveTopic(std::string_view name) const {
  std::string path = NormaliseTopicPath(name);
  while (true) {
    if (Contains(path)) return path;
    const auto next = path.find('/', 1);
    if (next == std::string::npos) return std::nullopt;
    path.erase(0, next);
  }
}

std::optional<std::string> HelpFile::TopicOfContext(std::uint32_t context) const {
  const auto found = contexts_.find(context);
  if (found == contexts_.end()) return std::nullopt;
  return ResolveTopic(found->second);
}

std::optional<std::string> HelpFile::DefaultTopic() const {
  if (!handle_) return std::nullopt;
  if (defaultTopic_) {
    if (auto topic = ResolveTopic(*defaultTopic_)) return topic;
  }
  std::string first;
  auto collect = [](chmFile*, chmUnitInfo* info, void* context) -> int {
    auto* found = static_cast<std::string*>(context);
    if (IsHtmlName(info->path)) {
      *found = info->path;
      return CHM_ENUMERATOR_SUCCESS;
    }
    return CHM_ENUMERATOR_CONTINUE;
  };
  chm_enumerate(handle_->file, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, collect, &first);
  if (first.empty()) return std::nullopt;
  return first;
}

}  // namespace app
