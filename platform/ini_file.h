#pragma once
// An INI file with the original framework's semantics: sections and keys keep their file
// order, names compare case-insensitively, values are read with defaults, lines are
// "key=value", and the file is written with CRLF line ends. Text in memory is code page 1252.
//
// Like the original, every Write*/Erase*/Delete* is written through to the file at once, so
// a file written by one object is seen by the next one opened on the same path. Each call
// also picks up changes another object or program made to the file since this one last
// looked at it.
//
// Reading: LF, CRLF or CR line ends; a line ends at a NUL byte (what follows is not read), so
// every name and value read can be written; blank lines, ';' comment lines and other lines
// without '=' are kept in place when the file is rewritten; names and values are trimmed of
// blanks; the first '=' splits key from value; of duplicate sections or keys the first one
// counts. Only a regular file is read: a named pipe, a device or a folder cannot be read (State
// says so, ReadError says what it is) and is never written over.
// Encodings: a file without a byte-order mark is code page 1252. A file that starts with the
// UTF-8 mark (editors put one there) is UTF-8: its text is converted to code page 1252 as it
// is read (a character the code page lacks, or a malformed byte, becomes '?') and back to
// UTF-8 behind the mark when the file is written, so a file read and saved again keeps its
// encoding. A file in UTF-16 (behind its mark, or without one in either byte order: then its
// brackets, '=' and line ends, the markup of every INI file, mostly have their NUL byte on the
// same side, whatever other characters it holds and however long its lines) is not read: State()
// says so, every read gives its default, and the file is never written over.
// NUL bytes: a file whose text holds one is never written over, whatever it is judged to be:
// its lines were cut at their first NUL, and a save would lose the rest. Unless it is UTF-16 it
// is read all the same (stray NULs and lost blocks of a damaged file, binary bytes), and a write
// says where its first NUL is. A tail of NULs, what a crash can leave, is no text: a file ending
// in one is read and written as any other.
// Section and key names compare without regard to case (ASCII and the accented letters of
// code page 1252). Names are looked up, and sections or keys listed, through indexes of the
// names, never by a walk through all of them: files of 100,000 sections are read in one pass.
//
// Writing: a new key goes after the last key of its section, a new section at the end of the
// file. The indexes take a new key or section in place, so writing a file of n names grows with
// n, not with n squared. Erasing sections finds them through the index too: erasing a section
// that is not there costs a look-up and changes nothing, and erasing n sections one by one
// costs what erasing them at once would. The whole file is written to a temporary file beside
// it and renamed over it, so a crash never leaves half a file; an existing file keeps its
// permissions. A missing file reads as empty and is created by the first write. A file that
// exists but cannot be read is never overwritten: writes then return false.
//
// An UpdateScope holds the writes back: inside it every change stays in memory and the file
// is written once, whole and atomically, when the outermost scope ends, so a save of hundreds
// of keys costs one write instead of hundreds. Inside a scope the object does not pick up
// changes others make to the file (they would be lost at the end anyway).
//
// Names and values are not escaped. A write is refused (false, nothing changed) when the
// section or key name is empty or holds a line break or NUL, a key holds '=' or starts with
// '[' or ';', a section name holds ']', or a value holds a line break or NUL: such text would
// not read back as written. Blanks around a value are not kept.
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace platform {

class IniFile {
 public:
  explicit IniFile(std::string path);

  const std::string& FileName() const { return path_; }

  // Whether the file could be read when it was last looked at (a missing file could: it reads
  // as empty). A file that could not be read gives every read its default and is not written.
  enum class ReadState { kRead, kCannotRead, kUtf16 };
  ReadState State() const;
  // Why the last write of the file failed: as the system says it ("Permission denied" for a
  // file its user may not write), or that the file could not be read and is left alone (see
  // State), is UTF-16 or holds NUL bytes; empty when it succeeded.
  const std::string& WriteError() const { return writeError_; }
  // Why the file was not read (State is not kRead): as the system says it, "it is a named
  // pipe" and the like, or "it is UTF-16 text"; empty otherwise.
  const std::string& ReadError() const {
    Refresh();
    return readError_;
  }

  std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
  // Decimal with an optional sign, or hexadecimal after "0x" or "$" (up to 32 bits, so
  // "$FFFFFFFF" is -1; after a minus a magnitude of at most $80000000); blanks around it
  // allowed; anything else, and a number out of range, gives the default.
  int ReadInteger(const std::string& section, const std::string& key, int def) const;
  bool ReadBool(const std::string& section, const std::string& key, bool def) const;   // "0" false, other number true
  // '.' decimal mark whatever the locale, optional exponent; "inf" and "nan" as written by
  // WriteFloat; anything else gives the default.
  double ReadFloat(const std::string& section, const std::string& key, double def) const;

  // False when the file could not be written (the value is still kept in memory).
  bool WriteString(const std::string& section, const std::string& key, const std::string& value);
  bool WriteInteger(const std::string& section, const std::string& key, int value);
  bool WriteBool(const std::string& section, const std::string& key, bool value);  // "1" / "0"
  bool WriteFloat(const std::string& section, const std::string& key, double value);  // shortest round-trip text

  // True when the section has at least one key (a bare header does not count).
  bool SectionExists(const std::string& section) const;
  bool ValueExists(const std::string& section, const std::string& key) const;
  std::vector<std::string> ReadSections() const;  // every section name once, in file order
  std::vector<std::string> ReadSection(const std::string& section) const;  // key names in order
  // The sections whose names begin with prefix (without regard to case), each once, in file
  // order; costs what the names found cost, not what the file holds.
  std::vector<std::string> ReadSectionsStartingWith(const std::string& prefix) const;
  // Removes every section of that name with its keys and comments.
  bool EraseSection(const std::string& section);
  // Removes every section whose name begins with prefix (without regard to case); nothing to
  // remove costs what a look-up does.
  bool EraseSectionsStartingWith(const std::string& prefix);
  // Removes every section; lines before the first section stay.
  bool EraseAllSections();
  // Removes every key of that name from the section; costs a look-up when there is none, and
  // what the section holds when there is.
  bool DeleteKey(const std::string& section, const std::string& key);

  class UpdateScope {
   public:
    explicit UpdateScope(IniFile& ini) : ini_(ini) { ++ini_.updateDepth_; }
    UpdateScope(const UpdateScope&) = delete;
    UpdateScope& operator=(const UpdateScope&) = delete;
    ~UpdateScope() { Commit(); }
    // Ends the scope now: the outermost one writes the file when anything changed. False
    // when that write failed (the changes stay in memory). Later calls return the same.
    bool Commit();

   private:
    IniFile& ini_;
    bool ended_ = false;
    bool result_ = true;
  };

 private:
  // One line inside a section: a key with its value, or a line kept as it was (blank,
  // comment, anything without '=').
  struct Line {
    std::string key, value;
    bool isEntry = true;
  };
  // Case-folded key name -> position of the first key of that name in its section. Built when
  // first needed, added to in place when a key is appended, dropped when keys are deleted.
  using NameIndex = std::unordered_map<std::string, size_t>;
  // Case-folded section name -> position of every section of that name, in file order. Kept
  // sorted, so that the names with a prefix are found together; built when first needed and
  // kept up to date by every change (a section erased leaves an empty place behind, so that
  // the positions of the others stay right; the places are dropped once they outnumber the
  // sections).
  using SortedNameIndex = std::multimap<std::string, size_t>;
  // A section's lines up to the place where a new key goes (after its last key, or when it
  // has none after its last line that is not blank), and the lines after that place (blank
  // lines and comments before the next section), so that a key is added at the end of a vector.
  struct Section {
    explicit Section(std::string sectionName) : name(std::move(sectionName)) {}
    std::string name;
    std::vector<Line> lines, tail;
    mutable NameIndex keyIndex;
    mutable bool keysIndexed = false;
    bool erased = false;  // an empty place left by an erased section
  };
  struct FileStamp {
    bool exists = false;
    unsigned long long device = 0, inode = 0, size = 0;
    long long mtimeNs = 0, ctimeNs = 0;
    bool operator==(const FileStamp&) const = default;
  };

  void Refresh() const;  // reloads when the file changed since it was last read or written
  bool SaveOrDefer();     // writes now, or at the end of the update scope
  void Load() const;
  bool Save();
  Section* Find(const std::string& section);
  const Section* Find(const std::string& section) const;
  // Erases the index entries [first, last) and their sections; false when the range is empty.
  bool EraseIndexed(SortedNameIndex::iterator first, SortedNameIndex::iterator last);
  void DropErasedPlaces();
  // Not read, or read but holding what a save would lose.
  bool Unwritable() const { return state_ != ReadState::kRead || !nulRefusal_.empty(); }
  const Line* FindEntry(const std::string& section, const std::string& key) const;
  const SortedNameIndex& SectionIndex() const;
  static const NameIndex& KeyIndex(const Section& section);
  static void SplitTail(Section& section);

  std::string path_;
  mutable std::vector<std::string> preamble_;  // lines before the first section
  mutable std::vector<Section> sections_;
  mutable SortedNameIndex sectionIndex_;
  mutable bool sectionsIndexed_ = false;
  mutable size_t erasedPlaces_ = 0;
  mutable FileStamp stamp_;
  mutable bool loaded_ = false;
  mutable ReadState state_ = ReadState::kRead;
  mutable std::string readError_;   // why the file could not be read
  mutable std::string nulRefusal_;  // why a file whose text holds NUL bytes is not written over
  mutable bool utf8_ = false;  // read as UTF-8 behind a byte-order mark, and so written back
  int updateDepth_ = 0;
  bool savePending_ = false;
  std::string writeError_;
};

}  // namespace platform
