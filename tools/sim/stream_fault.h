#pragma once
// Faults in the instrument's streamed records, so the program's stream reader can be shown
// to survive what a real line may deliver.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim {

// The five value fields of one streamed record, as text.
using StreamFields = std::array<std::string, 5>;

enum class StreamFaultKind {
  ZeroBytes,     // `bytes` zero bytes in the middle of the record
  Junk,          // `bytes` bytes of junk, without a line end, just before the record
  BadNumber,     // field `field` becomes `text` ("1.2.3", "inf", "nan", "0x1F", "abc", ...)
  MissingField,  // the record has four fields
  ExtraField,    // the record has six fields
  TimeJump,      // the instrument's clock jumps `milliseconds` ahead before the record
  ClockBack,     // the instrument's clock steps `milliseconds` back before the record (a restart)
  Pause,         // the stream stops for `milliseconds`, starting with the record (the clock runs on)
};

struct StreamFault {
  static constexpr int kForever = -1;

  StreamFaultKind kind = StreamFaultKind::Junk;
  int count = 1;  // records spoiled, then the fault is gone; kForever keeps it
  size_t bytes = 8;
  size_t field = 1;
  std::string text = "1.2.3";
  uint32_t milliseconds = 0;

  static StreamFault ZeroBytes(size_t bytes = 4, int count = 1);
  static StreamFault Junk(size_t bytes = 8, int count = 1);
  static StreamFault BadNumber(std::string text = "1.2.3", size_t field = 1, int count = 1);
  static StreamFault MissingField(int count = 1);
  static StreamFault ExtraField(int count = 1);
  static StreamFault TimeJump(uint32_t milliseconds, int count = 1);
  static StreamFault ClockBack(uint32_t milliseconds, int count = 1);
  static StreamFault Pause(uint32_t milliseconds);
};

// Command-line form "KIND[=VALUE][:COUNT]": zero[=N], junk[=N], badnum[=TEXT],
// missing, extra, jump=MS, back=MS, pause=MS. COUNT (records) defaults to 1; a pause has none.
std::optional<StreamFault> ParseStreamFault(const std::string& text, std::string* error = nullptr);

// What the active faults do to one record.
struct RecordSpoiling {
  uint32_t clockJumpMs = 0;  // modulo 2^32: a step back is a jump of 2^32 - ms
  uint32_t pauseMs = 0;      // this record and those due within the pause are not sent
  size_t zeroBytes = 0;
  std::string junk;
  std::vector<std::pair<size_t, std::string>> badFields;
  bool missingField = false;
  bool extraField = false;
};

class StreamFaultPlan {
 public:
  void Add(StreamFault fault);
  void Clear() { faults_.clear(); }
  bool Empty() const { return faults_.empty(); }
  // The spoiling of the next record, counting the faults down.
  RecordSpoiling Take();

 private:
  std::vector<StreamFault> faults_;
};

// The record's bytes as they go out.
std::string SpoiledRecordText(StreamFields fields, uint32_t time, const RecordSpoiling& spoiling);

}  // namespace sim
