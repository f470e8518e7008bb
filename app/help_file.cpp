#include "app/help_file.h"

#include <chm_lib.h>

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "platform/finally.h"
#include "platform/isolated_run.h"
#include "platform/le_bytes.h"
#include "platform/regular_file.h"

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

// Objects are decoded piece by piece, so what is held follows what the file yields.
constexpr std::size_t kReadPiece = 256 * 1024;

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

HelpContextMap::HelpContextMap(std::string ivb, std::string strings)
    : ivb_(std::move(ivb)), strings_(std::move(strings)) {}

std::optional<std::string> HelpContextMap::TopicName(std::uint32_t context) const {
  if (ivb_.size() < 4) return std::nullopt;
  const std::size_t end = 4 + std::min<std::size_t>(ReadU32(ivb_, 0), ivb_.size() - 4);
  const std::string_view strings(strings_);
  for (std::size_t at = 4; at + 8 <= end; at += 8) {
    if (ReadU32(ivb_, at) != context) continue;
    const std::uint32_t offset = ReadU32(ivb_, at + 4);
    if (offset >= strings.size()) continue;
    const std::string_view rest = strings.substr(offset, kMaxTopicNameLength + 1);
    const std::size_t length = std::min(rest.find('\0'), rest.size());
    if (length == 0 || length > kMaxTopicNameLength) continue;
    return std::string(rest.substr(0, length));
  }
  return std::nullopt;
}

HelpContextMap ParseContextMap(std::string_view ivb, std::string_view strings) {
  return HelpContextMap(std::string(ivb), std::string(strings));
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
  std::vector<unsigned char> buffer(kReadPiece);
  auto readEach = [](chmFile* owner, chmUnitInfo* info, void* context) -> int {
    auto* buffer = static_cast<unsigned char*>(context);
    const LONGUINT64 length = info->length <= kMaxObjectSize ? info->length : 0;  // never read, as Read refuses it
    for (LONGUINT64 at = 0; at < length;) {
      const auto piece = static_cast<LONGINT64>(std::min<LONGUINT64>(kReadPiece, length - at));
      const LONGINT64 got = chm_retrieve_object(owner, info, buffer, at, piece);
      if (got <= 0) break;
      at += static_cast<LONGUINT64>(got);
    }
    return CHM_ENUMERATOR_CONTINUE;
  };
  chm_enumerate(file, CHM_ENUMERATE_ALL, readEach, buffer.data());
  chm_close(file);
  return true;
}

}  // namespace

HelpFile::HelpFile() = default;
HelpFile::~HelpFile() = default;

bool HelpFile::Open(const std::string& path, std::string* error) {
  handle_.reset();
  contexts_ = {};
  defaultTopic_.reset();
  path_ = path;
  if (error != nullptr) error->clear();
  // The decoder library opens by name, and would wait in a named pipe's open. It is handed the
  // regular file opened here instead, by its descriptor's name, which stays that file whatever
  // takes the path's place meanwhile (the child of the validation inherits the descriptor).
  const int fd = platform::OpenRegularFileForReading(path, error);
  if (fd < 0) return false;
  const platform::Finally closeFd([fd] { ::close(fd); });
  const std::string opened = "/proc/self/fd/" + std::to_string(fd);
  // The decoder library crashes on some damaged files. Every object is decoded once in a
  // child process first; a file that takes the child down is treated as unreadable.
  const auto validation = platform::RunIsolated([&opened] { return DecodesWhole(opened); }, kValidationTimeoutMs);
  if (validation == platform::IsolatedResult::Crashed || validation == platform::IsolatedResult::TimedOut) {
    return false;
  }
  try {
    auto handle = std::make_unique<Handle>();
    handle->file = chm_open(opened.c_str());
    if (handle->file == nullptr) return false;
    handle_ = std::move(handle);

    auto ivb = Read("/#IVB");
    auto strings = Read("/#STRINGS");
    if (ivb && strings) contexts_ = HelpContextMap(std::move(*ivb), std::move(*strings));
    if (const auto system = Read("/#SYSTEM")) defaultTopic_ = ParseDefaultTopic(*system);
  } catch (const std::bad_alloc&) {
    // A file whose tables don't fit in the memory left gives no help; the program goes on.
    handle_.reset();
    contexts_ = {};
    defaultTopic_.reset();
    return false;
  }
  return true;
}

bool HelpFile::IsOpen() const { return handle_ != nullptr; }

std::optional<std::string> HelpFile::Read(std::string_view objectPath) const {
  if (!handle_) return std::nullopt;
  const std::string path(objectPath);
  chmUnitInfo info{};
  if (chm_resolve_object(handle_->file, path.c_str(), &info) != CHM_RESOLVE_SUCCESS) return std::nullopt;
  if (info.length > kMaxObjectSize) return std::nullopt;
  std::string bytes;
  try {
    // A damaged directory may claim any length: the bytes are taken as they are decoded,
    // never reserved for the claimed length.
    for (LONGUINT64 at = 0; at < info.length;) {
      const std::size_t piece = static_cast<std::size_t>(std::min<LONGUINT64>(kReadPiece, info.length - at));
      const std::size_t held = bytes.size();
      bytes.resize(held + piece);
      auto* into = reinterpret_cast<unsigned char*>(bytes.data() + held);
      const LONGINT64 got = chm_retrieve_object(handle_->file, &info, into, at, static_cast<LONGINT64>(piece));
      bytes.resize(held + static_cast<std::size_t>(std::max<LONGINT64>(got, 0)));
      if (got <= 0) break;
      at += static_cast<LONGUINT64>(got);
    }
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  if (bytes.empty() && info.length > 0) return std::nullopt;
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
  const auto name = contexts_.TopicName(context);
  if (!name) return std::nullopt;
  return ResolveTopic(*name);
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
