#pragma once
// Builds compiled help files byte by byte, with every object stored uncompressed, so tests can
// give the reader tables no help compiler would write: pairs pointing into a name that never
// ends, directory lengths beyond the file's end, objects of any size.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

struct HelpObject {
  std::string path;  // "/index.htm", "/#IVB"
  std::string bytes;
  // The length the directory claims; the real length when not set.
  std::uint64_t claimedLength = UINT64_MAX;
};

inline void AppendLe(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// The directory's variable-length numbers: seven bits a byte, most significant first.
inline void AppendEncInt(std::string& out, std::uint64_t value) {
  std::string groups;
  do {
    groups.insert(groups.begin(), static_cast<char>(value & 0x7F));
    value >>= 7;
  } while (value != 0);
  for (std::size_t i = 0; i + 1 < groups.size(); ++i) groups[i] = static_cast<char>(groups[i] | 0x80);
  out += groups;
}

// A file of one directory chunk listing the objects, their bytes one after another behind it.
inline std::string BuildHelpFile(const std::vector<HelpObject>& objects) {
  std::string entries;
  std::uint64_t offset = 0;
  for (const HelpObject& object : objects) {
    AppendEncInt(entries, object.path.size());
    entries += object.path;
    AppendEncInt(entries, 0);  // the uncompressed section
    AppendEncInt(entries, offset);
    AppendEncInt(entries, object.claimedLength != UINT64_MAX ? object.claimedLength : object.bytes.size());
    offset += object.bytes.size();
  }
  constexpr std::uint32_t kHeaderLength = 0x60;
  constexpr std::uint32_t kHeaderSectionLength = 0x18;
  constexpr std::uint32_t kDirectoryHeaderLength = 0x54;
  constexpr std::uint32_t kChunkHeaderLength = 0x14;
  std::uint32_t chunkLength = 0x1000;
  while (chunkLength < kChunkHeaderLength + entries.size() + 2) chunkLength *= 2;
  const std::uint64_t directoryOffset = kHeaderLength + kHeaderSectionLength;
  const std::uint64_t directoryLength = kDirectoryHeaderLength + chunkLength;
  const std::uint64_t contentOffset = directoryOffset + directoryLength;

  std::string file = "ITSF";
  AppendLe(file, 3, 4);
  AppendLe(file, kHeaderLength, 4);
  AppendLe(file, 1, 4);
  AppendLe(file, 0, 4);       // time stamp
  AppendLe(file, 0x0416, 4);  // language
  file.append(32, '\0');      // two class ids the reader does not check
  AppendLe(file, kHeaderLength, 8);
  AppendLe(file, kHeaderSectionLength, 8);
  AppendLe(file, directoryOffset, 8);
  AppendLe(file, directoryLength, 8);
  AppendLe(file, contentOffset, 8);

  AppendLe(file, 0x01FE, 4);
  AppendLe(file, 0, 4);
  AppendLe(file, contentOffset + offset, 8);
  AppendLe(file, 0, 8);

  file += "ITSP";
  AppendLe(file, 1, 4);
  AppendLe(file, kDirectoryHeaderLength, 4);
  AppendLe(file, 10, 4);
  AppendLe(file, chunkLength, 4);
  AppendLe(file, 2, 4);           // quick-reference density
  AppendLe(file, 1, 4);           // depth: no index chunks
  AppendLe(file, 0xFFFFFFFF, 4);  // no index root
  AppendLe(file, 0, 4);           // the first listing chunk
  AppendLe(file, 0, 4);           // the last listing chunk
  AppendLe(file, 0xFFFFFFFF, 4);
  AppendLe(file, 1, 4);  // chunks
  AppendLe(file, 0x0416, 4);
  file.append(16, '\0');
  AppendLe(file, kDirectoryHeaderLength, 4);
  file.append(12, '\0');

  file += "PMGL";
  AppendLe(file, chunkLength - kChunkHeaderLength - entries.size(), 4);  // free space
  AppendLe(file, 0, 4);
  AppendLe(file, 0xFFFFFFFF, 4);  // no previous chunk
  AppendLe(file, 0xFFFFFFFF, 4);  // no next chunk
  file += entries;
  file.append(chunkLength - kChunkHeaderLength - entries.size() - 2, '\0');
  AppendLe(file, objects.size(), 2);

  for (const HelpObject& object : objects) file += object.bytes;
  return file;
}

// The "#IVB" table of (context, offset) pairs.
inline std::string ContextTable(const std::vector<std::pair<std::uint32_t, std::uint32_t>>& pairs) {
  std::string table;
  AppendLe(table, pairs.size() * 8, 4);
  for (const auto& [context, offset] : pairs) {
    AppendLe(table, context, 4);
    AppendLe(table, offset, 4);
  }
  return table;
}

}  // namespace testsupport
