#include "platform/ports.h"

#include <dirent.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <iterator>
#include <mutex>
#include <tuple>

#include "platform/cp1252.h"
#include "platform/regular_file.h"

namespace platform {
namespace {

constexpr int kMaxPort = 255;

std::mutex g_overrideMutex;
std::string g_portFolderOverride;
std::string g_sysfsRootOverride;

std::string ExecutableFolder() {
  std::array<char, PATH_MAX> buf{};
  ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size() - 1);
  if (n <= 0) return ".";
  std::string exe(buf.data(), static_cast<size_t>(n));
  size_t slash = exe.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return exe.substr(0, slash);
}

bool IsDirectory(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<std::string> RealPath(const std::string& path) {
  char* resolved = realpath(path.c_str(), nullptr);
  if (!resolved) return std::nullopt;
  std::string out(resolved);
  free(resolved);
  return out;
}

std::string BaseName(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ParentDir(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return "";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string TrimSpace(std::string s) {
  auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && isSpace(s.back())) s.pop_back();
  size_t start = 0;
  while (start < s.size() && isSpace(s[start])) ++start;
  return s.substr(start);
}

// The first line of a small text file, without its line end, cut at kMaxLine bytes; nothing
// when it can't be read. Only regular files are read, and a device is not even opened: a pipe
// or a device named by a user's link could block the listing, never end, or (a serial port)
// have its lines changed by the open.
std::optional<std::string> ReadFirstLine(const std::string& path) {
  constexpr size_t kMaxLine = 4096;
  const int fd = OpenRegularFileForReading(path);
  if (fd < 0) return std::nullopt;
  std::string text(kMaxLine, '\0');
  ssize_t n;
  do n = ::read(fd, text.data(), text.size());
  while (n < 0 && errno == EINTR);
  ::close(fd);
  if (n < 0) return std::nullopt;
  text.resize(static_cast<size_t>(n));
  std::string line = text.substr(0, text.find('\n'));
  while (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

// Parses the decimal digits of a port name: 1..255, no sign, no leading zero, nothing after.
int ParsePortNumber(std::string_view digits) {
  if (digits.empty() || digits.size() > 3 || digits[0] == '0') return 0;
  int n = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return 0;
    n = n * 10 + (c - '0');
  }
  return n <= kMaxPort ? n : 0;
}

std::vector<std::string> ListDirectory(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = opendir(folder.c_str());
  if (!dir) return names;
  while (dirent* e = readdir(dir)) {
    std::string name = e->d_name;
    if (name != "." && name != "..") names.push_back(std::move(name));
  }
  closedir(dir);
  return names;
}

// Walks up from a tty's sysfs device towards the root, looking for the USB device that
// carries the "manufacturer" and "product" strings.
std::string UsbDeviceName(const std::string& ttyName) {
  const std::string root = SysfsRoot();
  std::optional<std::string> dev = RealPath(root + "/class/tty/" + ttyName + "/device");
  if (!dev) return "";
  std::string rootReal = RealPath(root).value_or(root);
  for (std::string dir = *dev; dir.size() > rootReal.size() && dir.compare(0, rootReal.size(), rootReal) == 0;
       dir = ParentDir(dir)) {
    std::optional<std::string> maker = ReadFirstLine(dir + "/manufacturer");
    std::optional<std::string> product = ReadFirstLine(dir + "/product");
    if (!maker && !product) continue;
    std::string m = TrimSpace(maker.value_or(""));
    std::string p = TrimSpace(product.value_or(""));
    std::string name = m.empty() ? p : (p.empty() ? m : m + " " + p);
    return ExternalTextToCp1252(name);
  }
  return "";
}

std::string GeneratedName(const std::string& ttyName, int number) {
  std::string suffix = " (COM" + std::to_string(number) + ")";
  std::string usb = ttyName.empty() ? std::string() : UsbDeviceName(ttyName);
  return (usb.empty() ? std::string("Porta serial") : usb) + suffix;
}

std::optional<std::string> FolderDevicePath(const std::string& folder, int number) {
  std::string link = folder + "/com" + std::to_string(number);
  struct stat st;
  // stat follows the link: a dangling one fails here and the port is absent.
  if (stat(link.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return std::nullopt;
  return RealPath(link);
}

std::vector<PortEntry> EnumerateFolder(const std::string& folder) {
  std::vector<int> numbers;
  for (const std::string& name : ListDirectory(folder)) {
    if (name.size() < 4 || name.compare(0, 3, "com") != 0) continue;
    int n = ParsePortNumber(std::string_view(name).substr(3));
    if (n > 0) numbers.push_back(n);
  }
  std::sort(numbers.begin(), numbers.end());
  std::vector<PortEntry> ports;
  for (int n : numbers) {
    std::optional<std::string> device = FolderDevicePath(folder, n);
    if (!device) continue;
    PortEntry entry;
    entry.number = n;
    entry.devicePath = *device;
    std::string stem = folder + "/com" + std::to_string(n);
    std::optional<std::string> given = ReadFirstLine(stem + ".name");
    if (given && !given->empty()) {
      entry.friendlyName = ExternalTextToCp1252(*given);
    } else {
      // The device behind the link may be a USB adapter with a name of its own.
      std::string tty = ParentDir(*device) == "/dev" ? BaseName(*device) : std::string();
      entry.friendlyName = GeneratedName(tty, n);
    }
    ports.push_back(std::move(entry));
  }
  return ports;
}

// Kinds in numbering order, with the natural number after the prefix.
struct TtyKey {
  int kind;
  long number;
  std::string name;
  bool operator<(const TtyKey& o) const { return std::tie(kind, number, name) < std::tie(o.kind, o.number, o.name); }
};

std::optional<TtyKey> ClassifyTty(const std::string& name) {
  static const std::array<const char*, 3> kPrefixes = {"ttyS", "ttyUSB", "ttyACM"};
  for (size_t k = 0; k < kPrefixes.size(); ++k) {
    std::string_view prefix = kPrefixes[k];
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
    std::string_view digits = std::string_view(name).substr(prefix.size());
    if (digits.size() > 9 || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
      return std::nullopt;
    return TtyKey{static_cast<int>(k), std::stol(std::string(digits)), name};
  }
  return std::nullopt;
}

bool TtyHasDevice(const std::string& classDir, const TtyKey& key) {
  std::string entry = classDir + "/" + key.name;
  struct stat st;
  if (stat((entry + "/device").c_str(), &st) != 0) return false;
  if (key.kind == 0) {
    // Legacy UART slots exist whether or not hardware sits behind them; the driver marks
    // an empty slot with port type 0.
    std::optional<std::string> type = ReadFirstLine(entry + "/type");
    if (type && TrimSpace(*type) == "0") return false;
  }
  return true;
}

std::vector<PortEntry> EnumerateSysfs() {
  const std::string classDir = SysfsRoot() + "/class/tty";
  std::vector<TtyKey> ttys;
  for (const std::string& name : ListDirectory(classDir)) {
    std::optional<TtyKey> key = ClassifyTty(name);
    if (key && TtyHasDevice(classDir, *key)) ttys.push_back(*key);
  }
  std::sort(ttys.begin(), ttys.end());
  if (ttys.size() > static_cast<size_t>(kMaxPort)) ttys.resize(kMaxPort);
  std::vector<PortEntry> ports;
  int n = 0;
  for (const TtyKey& key : ttys) {
    PortEntry entry;
    entry.number = ++n;
    entry.devicePath = "/dev/" + key.name;
    entry.friendlyName = GeneratedName(key.name, n);
    ports.push_back(std::move(entry));
  }
  return ports;
}

}  // namespace

std::string PortFolder() {
  {
    std::lock_guard<std::mutex> lock(g_overrideMutex);
    if (!g_portFolderOverride.empty()) return g_portFolderOverride;
  }
  const char* env = std::getenv("TERVANA_PORT_DIR");
  if (env && *env) return env;
  return ExecutableFolder() + "/ports";
}

void SetPortFolder(const std::string& folder) {
  std::lock_guard<std::mutex> lock(g_overrideMutex);
  g_portFolderOverride = folder;
}

std::string SysfsRoot() {
  std::lock_guard<std::mutex> lock(g_overrideMutex);
  return g_sysfsRootOverride.empty() ? std::string("/sys") : g_sysfsRootOverride;
}

void SetSysfsRoot(const std::string& root) {
  std::lock_guard<std::mutex> lock(g_overrideMutex);
  g_sysfsRootOverride = root;
}

std::vector<PortEntry> EnumeratePorts() {
  const std::string folder = PortFolder();
  return IsDirectory(folder) ? EnumerateFolder(folder) : EnumerateSysfs();
}

std::optional<std::string> PortDevicePath(int number) {
  if (number < 1 || number > kMaxPort) return std::nullopt;
  const std::string folder = PortFolder();
  if (IsDirectory(folder)) return FolderDevicePath(folder, number);
  for (const PortEntry& entry : EnumerateSysfs())
    if (entry.number == number) return entry.devicePath;
  return std::nullopt;
}

}  // namespace platform
