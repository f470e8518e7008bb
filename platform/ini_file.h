#pragma once
// An INI file with the original framework's semantics: sections and keys keep their file
// order, names compare case-insensitively, values are read with defaults, lines are
// "key=value", and the file is written with CRLF line ends. Text stays code page 1252 bytes.
//
// Like the original, every Write*/Erase*/Delete* is written through to the file at once, so
// a file written by one object is seen by the next one opened on the same path.
#include <string>
#include <vector>

namespace platform {

class IniFile {
 public:
  explicit IniFile(std::string path);

  const std::string& FileName() const { return path_; }

  std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
  int ReadInteger(const std::string& section, const std::string& key, int def) const;  // decimal or 0x hex
  bool ReadBool(const std::string& section, const std::string& key, bool def) const;   // "0" false, other number true
  double ReadFloat(const std::string& section, const std::string& key, double def) const;  // '.' decimal mark

  // False when the file could not be written (the value is still kept in memory).
  bool WriteString(const std::string& section, const std::string& key, const std::string& value);
  bool WriteInteger(const std::string& section, const std::string& key, int value);
  bool WriteBool(const std::string& section, const std::string& key, bool value);  // "1" / "0"
  bool WriteFloat(const std::string& section, const std::string& key, double value);  // shortest round-trip text

  bool SectionExists(const std::string& section) const;
  bool ValueExists(const std::string& section, const std::string& key) const;
  std::vector<std::string> ReadSections() const;
  std::vector<std::string> ReadSection(const std::string& section) const;  // key names in order
  bool EraseSection(const std::string& section);
  bool DeleteKey(const std::string& section, const std::string& key);

 private:
  struct Entry { std::string key, value; };
  struct Section { std::string name; std::vector<Entry> entries; };
  void Load();
  bool Save() const;
  Section* Find(const std::string& section);
  const Section* Find(const std::string& section) const;

  std::string path_;
  std::vector<Section> sections_;
};

}  // namespace platform
