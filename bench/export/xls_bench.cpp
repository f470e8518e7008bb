// Spreadsheet writer figures: the shared-string table filled as a history export fills it
// (many cells, fewer distinct texts), against a plain hash map of the texts in the same run;
// and the finished workbook stream copied into its compound file, against writing the same
// bytes to a plain file.
//   xls_bench [--calls N] [--distinct N] [--stream-mb N]
//   (default 1,000,000 calls over 300,000 distinct texts, a 20 MB stream)
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "bench/measure.h"
#include "export/xls/compound_file.h"
#include "export/xls/sst_strings.h"
#include "export/xls/xls_utils.h"

namespace {

using bench::Clock;
using bench::Seconds;
using bench::CpuSeconds;

// Heap in use, the large blocks the allocator maps on their own included.
double HeapMb() {
  const struct mallinfo2 info = mallinfo2();
  return static_cast<double>(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

// Texts of a history table: dates, times and readings as they are written, all distinct.
std::vector<std::u16string> DistinctTexts(int count) {
  std::vector<std::u16string> texts;
  texts.reserve(static_cast<size_t>(count));
  char buf[64];
  for (int i = 0; i < count; ++i) {
    const int kind = i % 3;
    if (kind == 0)
      std::snprintf(buf, sizeof buf, "%02d/%02d/%04d %02d:%02d:%02d", i % 28 + 1, i / 28 % 12 + 1, 2000 + i / 336,
                    i / 3600 % 24, i / 60 % 60, i % 60);
    else if (kind == 1)
      std::snprintf(buf, sizeof buf, "%d,%03d \xB0" "C", i / 1000 - 150, i % 1000);
    else
      std::snprintf(buf, sizeof buf, "Sensor %d - leitura %d", i % 97, i);
    texts.push_back(vantrix::Cp1252ToWide(buf));
  }
  return texts;
}

// The texts in the order the calls hand them over: every distinct text once, the rest
// repeats of any of them, shuffled; one after another, as an exporter formats them cell by cell.
struct Calls {
  std::vector<char16_t> chars;
  std::vector<size_t> starts;
  std::u16string_view operator[](size_t i) const { return {chars.data() + starts[i], starts[i + 1] - starts[i]}; }
  size_t size() const { return starts.size() - 1; }
};

Calls CallOrder(const std::vector<std::u16string>& texts, int calls) {
  const int distinct = static_cast<int>(texts.size());
  std::vector<uint32_t> order(static_cast<size_t>(calls));
  std::mt19937 random(21);
  for (int i = 0; i < calls; ++i)
    order[static_cast<size_t>(i)] = i < distinct ? static_cast<uint32_t>(i) : static_cast<uint32_t>(random() % distinct);
  std::shuffle(order.begin(), order.end(), random);
  Calls out;
  out.starts.push_back(0);
  for (const uint32_t i : order) {
    out.chars.insert(out.chars.end(), texts[i].begin(), texts[i].end());
    out.starts.push_back(out.chars.size());
  }
  return out;
}

struct ViewHash {
  using is_transparent = void;
  size_t operator()(std::u16string_view text) const { return std::hash<std::u16string_view>()(text); }
};

void SharedStrings(int calls, int distinct) {
  const Calls order = CallOrder(DistinctTexts(distinct), calls);

  double heapBefore = HeapMb();
  auto start = Clock::now();
  double cpu = CpuSeconds();
  auto sst = std::make_unique<vantrix::TsstStrings>();
  uint64_t sink = 0;
  for (size_t i = 0; i < order.size(); ++i) sink += sst->AddString(order[i]);
  const double seconds = Seconds(start);
  const double cpuSeconds = CpuSeconds() - cpu;
  const double heap = HeapMb() - heapBefore;
  vantrix::TxlsMemoryStream out;
  start = Clock::now();
  sst->Save(out);
  const double saveSeconds = Seconds(start);
  const uint32_t unique = sst->UniqueCount();
  sst.reset();

  heapBefore = HeapMb();
  cpu = CpuSeconds();
  auto peer = std::make_unique<std::unordered_map<std::u16string, uint32_t, ViewHash, std::equal_to<>>>();
  for (size_t i = 0; i < order.size(); ++i) {
    const std::u16string_view text = order[i];
    auto it = peer->find(text);
    if (it == peer->end()) it = peer->emplace(std::u16string(text), static_cast<uint32_t>(peer->size())).first;
    sink += it->second;
  }
  const double peerCpuSeconds = CpuSeconds() - cpu;
  const double peerHeap = HeapMb() - heapBefore;

  std::printf("shared strings: %d AddString calls, %u distinct texts: %.3f s of processor time, %.3f s elapsed "
              "(target 0.15 s), %.1f MB (target 48 MB); a plain hash map of the texts: %.3f s of processor time, "
              "%.1f MB (the table at %.2f of its time); SST written in %.3f s, %.1f MB\n",
              calls, unique, cpuSeconds, seconds, heap, peerCpuSeconds, peerHeap, cpuSeconds / peerCpuSeconds,
              saveSeconds, static_cast<double>(out.Size()) / (1024.0 * 1024.0));
  if (sink == 0) std::printf("(nothing added)\n");
}

void CompoundCopy(int megabytes) {
  const char* dir = std::getenv("TMPDIR");
  const std::string folder = dir != nullptr && *dir != '\0' ? dir : "/tmp";
  const std::string path = folder + "/tervana_xls_bench_" + std::to_string(::getpid()) + ".xls";
  const std::string plain = path + ".bin";
  const size_t size = static_cast<size_t>(megabytes) << 20;
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 2654435761u >> 13);

  double seconds = 0;
  {
    vantrix::TxlsCompoundFile file(path);
    file.Stream().Write(bytes);
    const auto start = Clock::now();
    file.Commit();
    seconds = Seconds(start);
  }
  const auto start = Clock::now();
  std::FILE* out = std::fopen(plain.c_str(), "wb");
  const bool written = out != nullptr && std::fwrite(bytes.data(), 1, size, out) == size;
  if (out != nullptr) std::fclose(out);
  const double floorSeconds = Seconds(start);
  std::remove(path.c_str());
  std::remove(plain.c_str());
  const double mb = static_cast<double>(size) / 1e6;
  std::printf("compound file: a %d MiB stream copied into its Workbook child and closed in %.3f s, %.0f MB/s "
              "(target 200 MB/s); the same bytes written to a plain file: %.0f MB/s (the copy at %.2f of its speed)%s\n",
              megabytes, seconds, mb / seconds, mb / floorSeconds, floorSeconds / seconds,
              written ? "" : " (plain file not written)");
}

}  // namespace

int main(int argc, char** argv) {
  int calls = 1000000, distinct = 300000, streamMb = 20;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--calls") == 0) calls = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--distinct") == 0) distinct = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--stream-mb") == 0) streamMb = std::atoi(argv[i + 1]);
  }
  if (distinct < 1 || calls < distinct || streamMb < 1) {
    std::fprintf(stderr, "xls_bench: --calls must be at least --distinct, both and --stream-mb at least 1\n");
    return 2;
  }
  SharedStrings(calls, distinct);
  CompoundCopy(streamMb);
  return 0;
}
