#include "platform/ini_file.h"

#include "platform/atomic_file.h"
#include "platform/cp1252.h"
#include "platform/cp1252_case.h"
#include "platform/regular_file.h"

#include <sys/stat.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <algorithm>
#include <iterator>
#include <limits>
#include <string_view>

namespace platform {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool SameName(std::string_view a, std::string_view b) { return Cp1252SameText(a, b); }

// The name as the indexes keep it: two names that compare equal fold to the same text.
std::string Folded(std::string_view name) { return Cp1252Folded(name); }

bool HasLineBreakOrNul(std::string_view s) { return s.find_first_of(std::string_view("\r\n\0", 3)) != s.npos; }

bool ValidSectionName(std::string_view s) {
  return !s.empty() && !HasLineBreakOrNul(s) && s.find(']') == s.npos;
}

bool ValidKeyName(std::string_view s) {
  return !s.empty() && !HasLineBreakOrNul(s) && s.find('=') == s.npos && s.front() != '[' && s.front() != ';';
}

// Decimal with sign, or "$" / "0x" hexadecimal of up to 32 bits taken as two's complement.
bool ParseInteger(std::string_view s, int& out) {
  s = Trim(s);
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  int base = 10;
  if (!s.empty() && s.front() == '$') {
    base = 16;
    s.remove_prefix(1);
  } else if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    s.remove_prefix(2);
  }
  if (s.empty()) return false;
  uint64_t magnitude = 0;
  for (char c : s) {
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else return false;
    magnitude = magnitude * base + digit;
    if (magnitude > 0xFFFFFFFFull) return false;
  }
  // Without a sign, hexadecimal is the 32 bits as written ("$FFFFFFFF" is -1); with a minus
  // it is a magnitude, as a decimal one is, and one past -2^31 is out of range ("-$80000001"
  // would wrap round to 2^31-1).
  if (base == 16 && !negative) {
    out = static_cast<int>(static_cast<uint32_t>(magnitude));
    return true;
  }
  if (negative ? magnitude > 2147483648ull : magnitude > 2147483647ull) return false;
  out = negative ? static_cast<int>(-static_cast<int64_t>(magnitude)) : static_cast<int>(magnitude);
  return true;
}

bool ParseFloat(std::string_view s, double& out) {
  s = Trim(s);
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  if (s.empty()) return false;
  if (SameName(s, "inf") || SameName(s, "nan")) {
    double v = SameName(s, "inf") ? std::numeric_limits<double>::infinity() : std::numeric_limits<double>::quiet_NaN();
    out = negative ? -v : v;
    return true;
  }
  // Only digits, one '.', and an exponent: from_chars would also take "infinity" and such.
  char first = s.front();
  if (!((first >= '0' && first <= '9') || first == '.')) return false;
  double v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
  if (ec != std::errc() || end != s.data() + s.size()) return false;
  out = negative ? -v : v;
  return true;
}

bool IsMarkup(char c) { return c == '[' || c == ']' || c == '=' || c == '\r' || c == '\n'; }

// How the units of a text read in one byte order stand with the markup of an INI file.
struct MarkupTally {
  bool valid = true;   // no surrogate stands alone: text that is not UTF-16 in this order
  size_t ascii = 0;    // units whose high byte alone is NUL: characters up to U+00FF
  size_t markup = 0;   // those of them that are a bracket, '=' or a line end
  size_t others = 0;   // units without a NUL outside surrogate pairs: characters beyond U+00FF
  size_t against = 0;  // those of them whose low byte is markup
};

MarkupTally TallyMarkup(std::string_view text, size_t end, bool bigEndian) {
  MarkupTally tally;
  auto unit = [&](size_t at) {
    const auto first = static_cast<unsigned char>(text[at]), second = static_cast<unsigned char>(text[at + 1]);
    return bigEndian ? (first << 8 | second) : (second << 8 | first);
  };
  for (size_t i = 0; i + 1 < text.size() && i < end; i += 2) {
    const unsigned u = unit(i);
    // An emoji's high surrogate ends in '=' (D83D): a pair is no evidence either way, and a
    // surrogate without its other half is no text in this order.
    if (u >= 0xD800 && u <= 0xDFFF) {
      const unsigned next = u <= 0xDBFF && i + 3 < text.size() ? unit(i + 2) : 0;
      if (next < 0xDC00 || next > 0xDFFF) {
        tally.valid = false;
        return tally;
      }
      i += 2;
      continue;
    }
    const char low = static_cast<char>(u & 0xFF);
    if (u > 0 && u <= 0xFF) {
      ++tally.ascii;
      tally.markup += IsMarkup(low);
    } else if ((u & 0xFF) != 0 && (u >> 8) != 0) {
      ++tally.others;
      tally.against += IsMarkup(low);
    }
  }
  return tally;
}

// Whether the file's NULs are too many, and too seldom two in a unit, to be damage. Stray NULs
// fall anywhere: with a share d of the bytes NUL, about d² of the units would be NUL NUL, while
// UTF-16 text never holds U+0000 and its characters up to U+00FF and those ending in 00 put one
// NUL in each of their units. A bound on the chance of so few NUL NUL units, e^-(...), below one
// in a million.
bool NulsTooRegularForDamage(size_t units, size_t halfNulUnits, size_t nulUnits) {
  if (units == 0) return false;
  const double u = static_cast<double>(units), z = static_cast<double>(nulUnits);
  const double share = (static_cast<double>(halfNulUnits) + 2 * z) / (2 * u);
  const double expected = u * share * share;
  if (expected <= z) return false;
  return expected - z - (z > 0 ? z * std::log(expected / z) : 0.0) > 14;
}

// UTF-16 saved without its mark, told by the markup every INI file holds. In UTF-16 each
// bracket, '=' and line end is a code unit at an even offset with its NUL on one side: the
// high byte, after it in little-endian order and before it in big-endian. Code page 1252 and
// UTF-8 text hold no NUL; a damaged file's stray NUL lands beside a markup byte now and then,
// one among the many markup bytes of its text. So, in a byte order in which the file is whole
// UTF-16 (no surrogate alone), the units whose low byte is markup must have their NUL more
// often than not, or far more often than the file's other units would by chance, or the file's
// NULs must be too regular for damage. Only the low byte counts: a character ending in 00
// (U+2500, U+3000, U+4E00, the low surrogate DE00) puts its NUL where an ASCII character has
// its text, and is evidence for neither order, though its NUL is evidence against damage. A
// character beyond Latin-1 whose low byte happens to be markup (U+4E3D) counts against, but
// that is a few in every hundred such characters, while in code page 1252 text a fifth of the
// bytes are markup: the second test is what tells a long line of Chinese from text. A file
// whose units are NUL NUL more often than they are markup is no UTF-16: text holds no U+0000,
// while a lost block of a damaged file or a binary file holds many. The tail of NULs a crash
// leaves is not text and is left out (end is where it begins), but for the unit of the text's
// last byte, whose high byte may be the tail's first NUL.
bool IsUnmarkedUtf16(std::string_view text, size_t end) {
  size_t units = 0, halfNulUnits = 0, nulUnits = 0;
  for (size_t i = 0; i + 1 < text.size() && i < end; i += 2) {
    const int nuls = (text[i] == '\0') + (text[i + 1] == '\0');
    ++units;
    halfNulUnits += nuls == 1;
    nulUnits += nuls == 2;
  }
  const bool regular = NulsTooRegularForDamage(units, halfNulUnits, nulUnits);
  for (const bool bigEndian : {false, true}) {
    const MarkupTally tally = TallyMarkup(text, end, bigEndian);
    if (!tally.valid || tally.markup <= nulUnits) continue;
    if (tally.markup > tally.against || regular) return true;
    // How unlikely so much markup among the ASCII units would be if each were markup as often as
    // the other units are (with one of each added, so that a few units tell little): a bound on
    // the chance, e^-(n·KL), below one in a million.
    const double n = static_cast<double>(tally.ascii), q = static_cast<double>(tally.markup) / n;
    const double p = (static_cast<double>(tally.against) + 1) / (static_cast<double>(tally.others) + 2);
    if (q <= p) continue;
    const double divergence = q * std::log(q / p) + (q < 1 ? (1 - q) * std::log((1 - q) / (1 - p)) : 0.0);
    if (n * divergence > 14) return true;
  }
  return false;
}

// Why a file whose text holds NUL bytes is not written over, or empty when it holds none. The
// tail of NULs a crash leaves is no text and is left out; any other NUL is part of what the
// file holds, and a save of what was read (every line cut at its first NUL) would lose the rest.
std::string NulRefusal(std::string_view text, size_t end) {
  const size_t first = text.substr(0, end).find('\0');
  if (first == text.npos) return {};
  const size_t count = static_cast<size_t>(std::count(text.begin() + static_cast<std::ptrdiff_t>(first),
                                                      text.begin() + static_cast<std::ptrdiff_t>(end), '\0'));
  const std::string at = std::to_string(first);
  return count == 1 ? "it holds a NUL byte, at offset " + at + ", and is not written over"
                    : "it holds " + std::to_string(count) + " NUL bytes, the first at offset " + at +
                          ", and is not written over";
}

}  // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) { Refresh(); }

void IniFile::Refresh() const {
  if (updateDepth_ > 0 && loaded_) return;
  FileStamp now;
  struct stat st;
  if (stat(path_.c_str(), &st) == 0) {
    now.exists = true;
    now.device = st.st_dev;
    now.inode = st.st_ino;
    now.size = static_cast<unsigned long long>(st.st_size);
    now.mtimeNs = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    now.ctimeNs = static_cast<long long>(st.st_ctim.tv_sec) * 1000000000LL + st.st_ctim.tv_nsec;
  }
  if (loaded_ && now == stamp_) return;
  stamp_ = now;
  loaded_ = true;
  Load();
}

void IniFile::Load() const {
  preamble_.clear();
  sections_.clear();
  sectionsIndexed_ = false;
  erasedPlaces_ = 0;
  state_ = ReadState::kRead;
  utf8_ = false;
  readError_.clear();
  nulRefusal_.clear();
  if (!stamp_.exists) return;
  // A named pipe would hold the program until somebody wrote into it, and a device may never
  // end: only a regular file is read, and what else stands in its place says what it is.
  std::string text;
  if (!ReadRegularFile(path_, text, &readError_)) {
    state_ = ReadState::kCannotRead;
    return;
  }

  // Taken byte by byte, UTF-16 would give no section and no key, and a save would keep its
  // bytes cut at every NUL: the file is left alone instead. Text without a NUL is no UTF-16.
  const size_t end = text.find_last_not_of('\0') + 1;  // where a tail of NULs begins (npos + 1 = 0)
  nulRefusal_ = NulRefusal(text, end);
  if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF") ||
      (!nulRefusal_.empty() && IsUnmarkedUtf16(text, end))) {
    state_ = ReadState::kUtf16;
    readError_ = "it is UTF-16 text";
    return;
  }
  // Editors that save UTF-8 may start the file with a byte-order mark.
  if (text.starts_with("\xEF\xBB\xBF")) {
    utf8_ = true;
    text = Utf8ToCp1252(std::string_view(text).substr(3));
  }
  std::string_view rest = text;
  while (!rest.empty()) {
    // A CR alone ends a line as CRLF and LF do, and a line ends at a NUL, as it does for a
    // reader of C strings: a name or value holding either could not be written anywhere. (A
    // file holding a NUL is itself never written over: the rest of its line would be lost.)
    const size_t eol = rest.find_first_of("\r\n");
    std::string_view raw = rest.substr(0, eol);
    size_t next = eol == rest.npos ? rest.size() : eol + 1;
    if (eol != rest.npos && rest[eol] == '\r' && next < rest.size() && rest[next] == '\n') ++next;
    rest = rest.substr(next);
    raw = raw.substr(0, raw.find('\0'));
    std::string_view trimmed = Trim(raw);
    if (!trimmed.empty() && trimmed.front() == '[') {
      std::string_view name = trimmed.substr(1);
      name = Trim(name.substr(0, name.find(']')));
      sections_.emplace_back(std::string(name));
      continue;
    }
    Line line;
    size_t eq = trimmed.find('=');
    std::string_view key = eq == trimmed.npos ? std::string_view() : Trim(trimmed.substr(0, eq));
    if (trimmed.empty() || trimmed.front() == ';' || key.empty()) {
      line.isEntry = false;
      line.value = raw;
    } else {
      line.key = key;
      line.value = Trim(trimmed.substr(eq + 1));
    }
    if (sections_.empty()) {
      preamble_.push_back(std::string(raw));
    } else {
      sections_.back().lines.push_back(std::move(line));
    }
  }
  for (Section& section : sections_) SplitTail(section);
}

// Moves the lines after the place where a new key goes into the tail: after the last key, or,
// in a section without keys, after the last line that is not blank.
void IniFile::SplitTail(Section& section) {
  std::vector<Line>& lines = section.lines;
  lines.insert(lines.end(), std::make_move_iterator(section.tail.begin()), std::make_move_iterator(section.tail.end()));
  section.tail.clear();
  size_t end = lines.size();
  bool anyEntry = false;
  for (const Line& line : lines) anyEntry = anyEntry || line.isEntry;
  while (end > 0 && (anyEntry ? !lines[end - 1].isEntry : Trim(lines[end - 1].value).empty())) --end;
  section.tail.assign(std::make_move_iterator(lines.begin() + static_cast<std::ptrdiff_t>(end)),
                      std::make_move_iterator(lines.end()));
  lines.resize(end);
}

IniFile::ReadState IniFile::State() const {
  Refresh();
  return state_;
}

bool IniFile::SaveOrDefer() {
  if (updateDepth_ == 0) return Save();
  savePending_ = true;
  return !Unwritable();
}

bool IniFile::UpdateScope::Commit() {
  if (ended_) return result_;
  ended_ = true;
  if (--ini_.updateDepth_ > 0 || !ini_.savePending_) return result_;
  ini_.savePending_ = false;
  result_ = ini_.Save();
  return result_;
}

bool IniFile::Save() {
  writeError_.clear();
  if (state_ == ReadState::kUtf16) {
    writeError_ = readError_ + ", which is not written over";
    return false;
  }
  if (state_ == ReadState::kCannotRead) {
    // What stands in the file's place (a folder, a named pipe) is named as every other save
    // names it.
    writeError_ = ReplaceRefusal(path_);
    if (writeError_.empty()) writeError_ = "it cannot be read, and is not written over";
    return false;
  }
  if (!nulRefusal_.empty()) {
    writeError_ = nulRefusal_;
    return false;
  }
  std::string text;
  for (const std::string& line : preamble_) text += line + "\r\n";
  for (const Section& section : sections_) {
    if (section.erased) continue;
    text += '[';
    text += section.name;
    text += "]\r\n";
    for (const auto* part : {&section.lines, &section.tail}) {
      for (const Line& line : *part) {
        if (line.isEntry) {
          text += line.key;
          text += '=';
        }
        text += line.value;
        text += "\r\n";
      }
    }
  }

  // A file read as UTF-8 is written as UTF-8, so that a second save equals the first.
  if (utf8_) text = "\xEF\xBB\xBF" + Cp1252ToUtf8(text);

  AtomicFile file;
  if (!file.Open(path_) || !file.Write(text.data(), text.size()) || !file.Commit()) {
    writeError_ = file.Error();
    return false;
  }
  loaded_ = false;  // take the new file's stamp without reading it back
  struct stat st;
  if (stat(path_.c_str(), &st) == 0) {
    stamp_.exists = true;
    stamp_.device = st.st_dev;
    stamp_.inode = st.st_ino;
    stamp_.size = static_cast<unsigned long long>(st.st_size);
    stamp_.mtimeNs = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    stamp_.ctimeNs = static_cast<long long>(st.st_ctim.tv_sec) * 1000000000LL + st.st_ctim.tv_nsec;
    loaded_ = true;
  }
  return true;
}

const IniFile::SortedNameIndex& IniFile::SectionIndex() const {
  if (!sectionsIndexed_) {
    sectionIndex_.clear();
    // In position order: a name's positions follow each other in file order (a multimap puts
    // an equal name after the ones it holds).
    for (size_t i = 0; i < sections_.size(); ++i)
      if (!sections_[i].erased) sectionIndex_.emplace(Folded(sections_[i].name), i);
    sectionsIndexed_ = true;
  }
  return sectionIndex_;
}

const IniFile::NameIndex& IniFile::KeyIndex(const Section& section) {
  if (!section.keysIndexed) {
    section.keyIndex.clear();
    for (size_t i = 0; i < section.lines.size(); ++i)
      if (section.lines[i].isEntry) section.keyIndex.try_emplace(Folded(section.lines[i].key), i);
    section.keysIndexed = true;
  }
  return section.keyIndex;
}

namespace {

// Names kept in the order of their first appearance: the positions sorted.
template <typename NameOf>
std::vector<std::string> NamesInOrder(std::vector<size_t> positions, NameOf nameOf) {
  std::sort(positions.begin(), positions.end());
  std::vector<std::string> names;
  names.reserve(positions.size());
  for (size_t at : positions) names.push_back(nameOf(at));
  return names;
}

// The first position of each name of a run of the section index: the first of its equals.
template <typename Iterator>
std::vector<size_t> FirstPositions(Iterator first, Iterator last) {
  std::vector<size_t> positions;
  for (Iterator previous = last; first != last; previous = first++)
    if (previous == last || previous->first != first->first) positions.push_back(first->second);
  return positions;
}

// The end of the run of names that begin with the folded prefix, from the first of them.
template <typename Iterator>
Iterator EndOfPrefix(Iterator first, Iterator end, std::string_view folded) {
  while (first != end && std::string_view(first->first).substr(0, folded.size()) == folded) ++first;
  return first;
}

}  // namespace

IniFile::Section* IniFile::Find(const std::string& section) {
  SectionIndex();
  const std::string folded = Folded(Trim(section));
  auto it = sectionIndex_.lower_bound(folded);  // the first section of the name
  return it == sectionIndex_.end() || it->first != folded ? nullptr : &sections_[it->second];
}

const IniFile::Section* IniFile::Find(const std::string& section) const {
  return const_cast<IniFile*>(this)->Find(section);
}

const IniFile::Line* IniFile::FindEntry(const std::string& section, const std::string& key) const {
  Refresh();
  const Section* s = Find(section);
  if (!s) return nullptr;
  const NameIndex& index = KeyIndex(*s);
  auto it = index.find(Folded(Trim(key)));
  return it == index.end() ? nullptr : &s->lines[it->second];
}

std::string IniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
  const Line* line = FindEntry(section, key);
  return line ? line->value : def;
}

int IniFile::ReadInteger(const std::string& section, const std::string& key, int def) const {
  const Line* line = FindEntry(section, key);
  int value;
  return line && ParseInteger(line->value, value) ? value : def;
}

bool IniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

double IniFile::ReadFloat(const std::string& section, const std::string& key, double def) const {
  const Line* line = FindEntry(section, key);
  double value;
  return line && ParseFloat(line->value, value) ? value : def;
}

bool IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  std::string_view sectionName = Trim(section), keyName = Trim(key);
  if (!ValidSectionName(sectionName) || !ValidKeyName(keyName) || HasLineBreakOrNul(value)) return false;
  Refresh();
  std::string stored(Trim(value));
  Section* s = Find(section);
  if (!s) {
    // Find built the index: the new name is added to it in place.
    sectionIndex_.emplace(Folded(sectionName), sections_.size());
    s = &sections_.emplace_back(std::string(sectionName));
  }
  std::string folded = Folded(keyName);
  const NameIndex& keys = KeyIndex(*s);
  if (auto it = keys.find(folded); it != keys.end()) {
    s->lines[it->second].value = std::move(stored);
    return SaveOrDefer();
  }
  s->keyIndex.emplace(std::move(folded), s->lines.size());
  s->lines.push_back(Line{std::string(keyName), std::move(stored), true});
  return SaveOrDefer();
}

bool IniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
  return WriteString(section, key, std::to_string(value));
}

bool IniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  return WriteString(section, key, value ? "1" : "0");
}

bool IniFile::WriteFloat(const std::string& section, const std::string& key, double value) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  if (ec != std::errc()) return false;
  return WriteString(section, key, std::string(buf, end));
}

bool IniFile::SectionExists(const std::string& section) const {
  Refresh();
  const Section* s = Find(section);
  return s && !KeyIndex(*s).empty();
}

bool IniFile::ValueExists(const std::string& section, const std::string& key) const {
  return FindEntry(section, key) != nullptr;
}

std::vector<std::string> IniFile::ReadSections() const {
  Refresh();
  const SortedNameIndex& index = SectionIndex();
  return NamesInOrder(FirstPositions(index.begin(), index.end()), [&](size_t at) { return sections_[at].name; });
}

std::vector<std::string> IniFile::ReadSection(const std::string& section) const {
  Refresh();
  const Section* s = Find(section);
  if (!s) return {};
  std::vector<size_t> positions;
  positions.reserve(KeyIndex(*s).size());
  for (const auto& [name, at] : KeyIndex(*s)) positions.push_back(at);
  return NamesInOrder(std::move(positions), [&](size_t at) { return s->lines[at].key; });
}

std::vector<std::string> IniFile::ReadSectionsStartingWith(const std::string& prefix) const {
  Refresh();
  const SortedNameIndex& index = SectionIndex();
  const std::string folded = Folded(prefix);
  const auto first = index.lower_bound(folded);
  return NamesInOrder(FirstPositions(first, EndOfPrefix(first, index.end(), folded)),
                      [&](size_t at) { return sections_[at].name; });
}

// The sections go from the index at once; each leaves an empty place in the list, so that the
// positions the index holds for the others stay right.
bool IniFile::EraseIndexed(SortedNameIndex::iterator first, SortedNameIndex::iterator last) {
  if (first == last) return false;
  for (auto it = first; it != last; ++it) {
    Section& place = sections_[it->second];
    place = Section(std::string());
    place.erased = true;
    ++erasedPlaces_;
  }
  sectionIndex_.erase(first, last);
  // The places go once they are more than the sections, so each costs a constant share.
  if (erasedPlaces_ * 2 > sections_.size()) DropErasedPlaces();
  return true;
}

// Closes the empty places up and moves the positions the index holds with their sections.
void IniFile::DropErasedPlaces() {
  std::vector<size_t> moved(sections_.size());
  size_t kept = 0;
  for (size_t i = 0; i < sections_.size(); ++i) {
    moved[i] = kept;
    if (!sections_[i].erased) {
      if (kept != i) sections_[kept] = std::move(sections_[i]);
      ++kept;
    }
  }
  sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(kept), sections_.end());
  for (auto& entry : sectionIndex_) entry.second = moved[entry.second];
  erasedPlaces_ = 0;
}

bool IniFile::EraseSectionsStartingWith(const std::string& prefix) {
  Refresh();
  SectionIndex();
  const std::string folded = Folded(prefix);
  const auto first = sectionIndex_.lower_bound(folded);
  return EraseIndexed(first, EndOfPrefix(first, sectionIndex_.end(), folded)) ? SaveOrDefer() : !Unwritable();
}

bool IniFile::EraseAllSections() {
  Refresh();
  if (sections_.empty()) return !Unwritable();
  sections_.clear();
  sectionIndex_.clear();
  sectionsIndexed_ = true;
  erasedPlaces_ = 0;
  return SaveOrDefer();
}

bool IniFile::EraseSection(const std::string& section) {
  Refresh();
  SectionIndex();
  const auto [first, last] = sectionIndex_.equal_range(Folded(Trim(section)));
  return EraseIndexed(first, last) ? SaveOrDefer() : !Unwritable();
}

bool IniFile::DeleteKey(const std::string& section, const std::string& key) {
  Refresh();
  Section* s = Find(section);
  std::string_view name = Trim(key);
  if (!s || !KeyIndex(*s).contains(Folded(name))) return !Unwritable();
  std::erase_if(s->lines, [&](const Line& line) { return line.isEntry && SameName(line.key, name); });
  s->keysIndexed = false;
  SplitTail(*s);  // the last key may have gone, and the place for a new one with it
  return SaveOrDefer();
}

}  // namespace platform
