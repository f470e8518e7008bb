// The INI file: the input is the file's text. Lists hold each name once, every listed name is
// found, numbers parse without fault, and a rewrite reads back as the same sections, keys
// and values. The file lives in a memory-backed folder when there is one: writes flush it.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "fuzz/fuzz_target.h"
#include "platform/ini_file.h"

namespace {

std::string Fold(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) {
    const unsigned char u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7)) c = static_cast<char>(u + 0x20);
    else if (u == 0x8A || u == 0x8C || u == 0x8E) c = static_cast<char>(u + 0x10);
    else if (u == 0x9F) c = static_cast<char>(0xFF);
  }
  return folded;
}

const std::string& FilePath() {
  static const std::string path = [] {
    std::error_code ec;
    const bool shm = std::filesystem::is_directory("/dev/shm", ec);
    const std::string folder = shm ? "/dev/shm" : std::filesystem::temp_directory_path().string();
    return folder + "/tervana-fuzz-ini-" + std::to_string(getpid()) + ".cfg";
  }();
  return path;
}

// The file goes when each input is done, so nothing is left behind whichever way the process
// ends (a static's destructor would run after the path's own, or not at all), except the
// file of a broken rule, kept to look at.
struct RemovedAfterInput {
  ~RemovedAfterInput() { std::remove(FilePath().c_str()); }
};

void CheckUnique(const std::vector<std::string>& names) {
  std::set<std::string> seen;
  for (const std::string& name : names) FUZZ_CHECK(seen.insert(Fold(name)).second);
}

// Everything a reader can ask, as (section, key, value) in list order.
std::vector<std::string> Contents(const platform::IniFile& ini) {
  std::vector<std::string> contents;
  const std::vector<std::string> sections = ini.ReadSections();
  CheckUnique(sections);
  for (const std::string& section : sections) {
    const std::vector<std::string> keys = ini.ReadSection(section);
    CheckUnique(keys);
    FUZZ_CHECK(ini.SectionExists(section) == !keys.empty());
    contents.push_back("[" + section);
    for (const std::string& key : keys) {
      FUZZ_CHECK(ini.ValueExists(section, key));
      ini.ReadInteger(section, key, 0);
      ini.ReadFloat(section, key, 0.0);
      contents.push_back(key + "=" + ini.ReadString(section, key, ""));
    }
  }
  return contents;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = FilePath();
  const RemovedAfterInput removed;
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  platform::IniFile ini(path);
  const std::vector<std::string> before = Contents(ini);
  const std::vector<std::string> sections = ini.ReadSections();

  // A file whose text holds a NUL (a tail of them is no text) is never written over, whatever
  // it is taken for: every write fails and says why, and the file stays as it was.
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const size_t end = text.find_last_not_of('\0') + 1;
  if (text.substr(0, end).find('\0') != text.npos) {
    FUZZ_CHECK(!ini.WriteString("FuzzSection", "FuzzKey", "v"));
    FUZZ_CHECK(!ini.WriteError().empty());
    FUZZ_CHECK(!ini.EraseAllSections());
    std::ifstream in(path, std::ios::binary);
    FUZZ_CHECK(std::string(std::istreambuf_iterator<char>(in), {}) == text);
    return 0;
  }
  FUZZ_CHECK(ini.State() == platform::IniFile::ReadState::kRead || text.starts_with("\xFF\xFE") ||
             text.starts_with("\xFE\xFF"));
  if (sections.empty()) return 0;

  // A new key in the first section, a changed one, the last section erased, and the sections
  // that begin as the first one does.
  const std::string& first = sections.front();
  if (ini.WriteString(first, "FuzzKey", "v 1")) {
    FUZZ_CHECK(ini.ReadString(first, "fuzzkey", "") == "v 1");
    const std::vector<std::string> keys = ini.ReadSection(first);
    FUZZ_CHECK(!keys.empty());
  }
  if (ini.WriteInteger(first, "FuzzKey", -7)) FUZZ_CHECK(ini.ReadInteger(first, "FUZZKEY", 0) == -7);
  const std::string last = sections.back();
  FUZZ_CHECK(ini.EraseSection(last));
  for (const std::string& name : ini.ReadSections()) FUZZ_CHECK(Fold(name) != Fold(last));
  FUZZ_CHECK(!ini.SectionExists(last));
  // The sections that begin as the first one does (its first two letters) erased at once.
  const std::string prefix = first.substr(0, 2);
  const size_t others = ini.ReadSections().size() - ini.ReadSectionsStartingWith(prefix).size();
  FUZZ_CHECK(ini.EraseSectionsStartingWith(prefix));
  FUZZ_CHECK(ini.ReadSectionsStartingWith(prefix).empty());
  FUZZ_CHECK(ini.ReadSections().size() == others);
  for (const std::string& name : ini.ReadSections()) FUZZ_CHECK(Fold(name).substr(0, prefix.size()) != Fold(prefix));

  // What was written reads back the same through another object.
  const std::vector<std::string> inMemory = Contents(ini);
  platform::IniFile reread(path);
  FUZZ_CHECK(Contents(reread) == inMemory);
  return 0;
}

std::vector<fuzz::CraftedInput> fuzz::CraftedInputs() {
  // 50,000 sections, every other one repeated in another case, and a section of 50,000 keys.
  std::string sections;
  for (int i = 0; i < 50000; ++i) sections += "[Section" + std::to_string(i) + "]\r\nk=" + std::to_string(i) + "\r\n";
  for (int i = 0; i < 50000; i += 2) sections += "[SECTION" + std::to_string(i) + "]\r\nk=dup\r\n";
  std::string keys = "[Keys]\n";
  for (int i = 0; i < 50000; ++i) keys += "Key" + std::to_string(i) + " = " + std::to_string(i) + "\nKEY" + std::to_string(i) + "=dup\n";
  return {{"50,000 sections", sections},
          {"a section of 50,000 keys", keys},
          {"UTF-8 behind its byte-order mark", "\xEF\xBB\xBF[Se\xC3\xA7\xC3\xA3o]\nk=\xE2\x88\x9A \xC3\n[Other]\nk=1\n"},
          {"UTF-16", std::string("\xFF\xFE[\0S\0]\0\n\0k\0=\0\x31\0", 16)}};
}
