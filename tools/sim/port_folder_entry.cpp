#include "tools/sim/port_folder_entry.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/regular_file.h"

namespace sim {
namespace fs = std::filesystem;

namespace {

bool Fail(std::string* error, const std::string& text) {
  if (error) *error = text;
  return false;
}

// Empty when it can't be read or is no regular file: something else in the name's place is
// then not ours to remove, and is never waited on.
std::string ReadWholeFile(const std::string& path) {
  std::string text;
  platform::ReadRegularFile(path, text);
  return text;
}

}  // namespace

std::string FriendlyPortName(const std::string& base, int comNumber) {
  if (base.find("(COM") != std::string::npos) return base;
  return base + " (COM" + std::to_string(comNumber) + ")";
}

PortFolderEntry::~PortFolderEntry() { Remove(); }

bool PortFolderEntry::Create(const std::string& folder, int comNumber, const std::string& target,
                             const std::string& friendlyName, std::string* error) {
  Remove();
  if (comNumber < 1 || comNumber > 255)
    return Fail(error, "port number " + std::to_string(comNumber) + " is outside 1..255");
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) return Fail(error, "cannot create port folder " + folder + ": " + ec.message());

  const std::string link = (fs::path(folder) / ("com" + std::to_string(comNumber))).string();
  const std::string name = link + ".name";
  const fs::file_status linkStatus = fs::symlink_status(link, ec);
  if (fs::exists(linkStatus)) {
    if (!fs::is_symlink(linkStatus) || fs::exists(fs::status(link, ec)))
      return Fail(error, link + " already exists and is in use; pick another port number or "
                              "remove it");
    fs::remove(link, ec);  // dangling: left behind by a run that did not end cleanly
  }

  // The name goes first and whole (written aside, then renamed), so the program never lists
  // the port under a made-up name or reads half a name.
  const std::string text = friendlyName + "\n";
  const std::string temporary = name + ".tmp" + std::to_string(::getpid());
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush()) {
      fs::remove(temporary, ec);
      return Fail(error, "cannot write " + temporary);
    }
  }
  fs::rename(temporary, name, ec);
  if (ec) {
    fs::remove(temporary, ec);
    return Fail(error, "cannot write " + name + ": " + ec.message());
  }
  if (::symlink(target.c_str(), link.c_str()) != 0) {
    const std::string reason = std::strerror(errno);
    fs::remove(name, ec);
    return Fail(error, "cannot create " + link + ": " + reason);
  }
  linkPath_ = link;
  namePath_ = name;
  target_ = target;
  nameText_ = text;
  return true;
}

void PortFolderEntry::Remove() {
  std::error_code ec;
  if (!linkPath_.empty() && fs::read_symlink(linkPath_, ec) == fs::path(target_))
    fs::remove(linkPath_, ec);
  if (!namePath_.empty() && ReadWholeFile(namePath_) == nameText_) fs::remove(namePath_, ec);
  linkPath_.clear();
  namePath_.clear();
  target_.clear();
  nameText_.clear();
}

}  // namespace sim
