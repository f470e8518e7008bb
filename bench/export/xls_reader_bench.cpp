// Workbook reader figures: a sheet of many COLINFO records over every column (200,000 records
// of 256 columns, a 3 MB stream, once 2 GB and 3.5 s to load), loaded and saved, against a
// plain read of the same records in the same run; with --xlrd, Debian's xlrd opening the same
// workbook with its formatting (it takes every column of every record too) as a peer. Then a
// workbook of many sheets listed in the reverse of their order (each named by the BOUNDSHEET
// that points at it) and twice as many shared strings as cells, with their EXTSST: loaded,
// every sheet's cells and name dumped, saved (half the strings dropped, the EXTSST written
// anew), against a plain read of its records.
//   xls_reader_bench [--records N] [--sheets N] [--xlrd]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "bench/measure.h"
#include "export/xls/compound_file.h"
#include "export/xls/workbook_dump.h"
#include "export/xls/xls_file.h"
#include "export/xls/xls_stream.h"

namespace {

using bench::Clock;
using bench::Seconds;
using bench::CpuSeconds;
using bench::PeakRssMb;

std::vector<uint8_t> Words(std::initializer_list<uint16_t> words, size_t zeros = 0) {
  std::vector<uint8_t> body;
  for (const uint16_t w : words) vantrix::AppendWord(body, w);
  body.insert(body.end(), zeros, 0);
  return body;
}

void Record(std::vector<uint8_t>& s, uint16_t id, const std::vector<uint8_t>& body) {
  vantrix::AppendWord(s, id);
  vantrix::AppendWord(s, static_cast<uint16_t>(body.size()));
  s.insert(s.end(), body.begin(), body.end());
}

// Globals with one XF and one sheet, the sheet of `records` COLINFO records over columns 0-255.
std::vector<uint8_t> ColInfoWorkbook(int records) {
  std::vector<uint8_t> s;
  Record(s, 0x0809, Words({0x0600, 0x0005, 0x0DBB, 1996}, 8));
  Record(s, 0x00E0, Words({}, 20));
  const size_t bound = s.size() + 4;
  Record(s, 0x0085, {0, 0, 0, 0, 0, 0, 1, 0, 'S'});  // offset, visible worksheet, "S" in 8 bits
  Record(s, 0x000A, {});
  vantrix::SetInteger(s, bound, static_cast<uint32_t>(s.size()));
  Record(s, 0x0809, Words({0x0600, 0x0010, 0x0DBB, 1996}, 8));
  for (int i = 0; i < records; ++i) Record(s, 0x007D, Words({0, 255, static_cast<uint16_t>(256 + i % 4096), 15, 0}, 1));
  Record(s, 0x0200, Words({}, 14));
  Record(s, 0x000A, {});
  return s;
}

// Globals of one XF, `sheets` BOUNDSHEETs in the reverse of the sheets' order, an SST of two
// strings per sheet over CONTINUE records and its EXTSST; each sheet one LABELSST cell of its
// own even string.
std::vector<uint8_t> SheetsWorkbook(int sheets) {
  std::vector<uint8_t> s;
  Record(s, 0x0809, Words({0x0600, 0x0005, 0x0DBB, 1996}, 8));
  Record(s, 0x00E0, Words({}, 20));
  std::vector<size_t> bound;
  for (int i = sheets - 1; i >= 0; --i) {
    bound.push_back(s.size() + 4);
    const std::string name = "Sheet " + std::to_string(i);
    std::vector<uint8_t> body = {0, 0, 0, 0, 0, 0, static_cast<uint8_t>(name.size()), 0};
    body.insert(body.end(), name.begin(), name.end());
    Record(s, 0x0085, body);
  }
  std::vector<uint8_t> sst = Words({static_cast<uint16_t>(sheets), static_cast<uint16_t>(sheets >> 16),
                                    static_cast<uint16_t>(2 * sheets), static_cast<uint16_t>(2 * sheets >> 16)});
  bool first = true;
  for (int i = 0; i < 2 * sheets; ++i) {
    const std::string text = "text " + std::to_string(i);
    if (sst.size() + 3 + text.size() > 8224) {
      Record(s, first ? 0x00FC : 0x003C, sst);
      sst.clear();
      first = false;
    }
    vantrix::AppendWord(sst, static_cast<uint16_t>(text.size()));
    sst.push_back(0);
    sst.insert(sst.end(), text.begin(), text.end());
  }
  Record(s, first ? 0x00FC : 0x003C, sst);
  // The EXTSST read is rebuilt on save: its buckets here point nowhere in particular.
  const uint16_t bucket = static_cast<uint16_t>(std::max(8, (2 * sheets + 127) / 128));
  std::vector<uint8_t> extSst = Words({bucket});
  extSst.resize(2 + 8 * static_cast<size_t>((2 * sheets + bucket - 1) / bucket));
  Record(s, 0x00FF, extSst);
  Record(s, 0x000A, {});
  for (int i = 0; i < sheets; ++i) {
    vantrix::SetInteger(s, bound[static_cast<size_t>(sheets - 1 - i)], static_cast<uint32_t>(s.size()));
    Record(s, 0x0809, Words({0x0600, 0x0010, 0x0DBB, 1996}, 8));
    Record(s, 0x00FD, Words({0, 0, 0, static_cast<uint16_t>(2 * i), static_cast<uint16_t>(2 * i >> 16)}));
    Record(s, 0x000A, {});
  }
  return s;
}

// Every record's header and body read out of the stream, nothing kept: processor seconds.
double PlainRead(const std::vector<uint8_t>& stream) {
  const double cpu = CpuSeconds();
  vantrix::TxlsReadStream reader(stream);
  uint16_t id = 0;
  std::vector<uint8_t> body;
  size_t bodies = 0;
  while (!reader.AtEnd()) {
    reader.ReadRecord(id, body);
    bodies += body.size();
  }
  if (bodies == 0) std::printf("(nothing read)\n");
  return CpuSeconds() - cpu;
}

// xlrd opening the file with its formatting: processor seconds and peak megabytes; -1 when
// it could not be run.
void Xlrd(const std::string& path, double& seconds, double& megabytes) {
  seconds = megabytes = -1;
  const pid_t child = fork();
  if (child == 0) {
    execl("/usr/bin/python3", "python3", "-c",
          "import sys, xlrd; xlrd.open_workbook(sys.argv[1], formatting_info=True)", path.c_str(), nullptr);
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return;
  seconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
            static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  megabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

}  // namespace

int main(int argc, char** argv) {
  int records = 200000, sheets = 20000;
  bool xlrd = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--records") == 0 && i + 1 < argc) records = std::atoi(argv[++i]);
    if (std::strcmp(argv[i], "--sheets") == 0 && i + 1 < argc) sheets = std::atoi(argv[++i]);
    if (std::strcmp(argv[i], "--xlrd") == 0) xlrd = true;
  }
  if (records < 1 || sheets < 1 || sheets > 30000) {
    std::fprintf(stderr, "xls_reader_bench: --records must be at least 1, --sheets from 1 to 30000\n");
    return 2;
  }
  const std::vector<uint8_t> stream = ColInfoWorkbook(records);

  // The floor: every record's header and body read out of the stream, nothing kept.
  double cpu = CpuSeconds();
  size_t bodies = 0;
  {
    vantrix::TxlsReadStream reader(stream);
    uint16_t id = 0;
    std::vector<uint8_t> body;
    while (!reader.AtEnd()) {
      reader.ReadRecord(id, body);
      bodies += body.size();
    }
  }
  const double floorCpu = CpuSeconds() - cpu;

  const double peakBefore = PeakRssMb();
  const auto start = Clock::now();
  cpu = CpuSeconds();
  vantrix::TxlsFile file;
  file.LoadStream(stream);
  const double loadCpu = CpuSeconds() - cpu, loadSeconds = Seconds(start);
  const double peakGrowth = PeakRssMb() - peakBefore;
  const size_t entries = file.Workbook().WorkSheet(0).ColInfos.Count();
  vantrix::TxlsMemoryStream saved;
  cpu = CpuSeconds();
  file.Workbook().Save(saved);
  const double saveCpu = CpuSeconds() - cpu;

  std::printf("workbook reader: %d COLINFO records of 256 columns (%.1f MB stream) loaded in %.3f s of processor "
              "time, %.3f s elapsed, peak memory %.1f MB above the stream's, %zu column entries kept "
              "(the 2.0 GB, 3.5 s once measured); saved in %.3f s (%.1f KB); a plain read of the records: %.3f s "
              "(the load at %.1f times its time)\n",
              records, static_cast<double>(stream.size()) / 1e6, loadCpu, loadSeconds, peakGrowth, entries, saveCpu,
              static_cast<double>(saved.Size()) / 1024.0, floorCpu, floorCpu > 0 ? loadCpu / floorCpu : 0.0);
  if (bodies == 0) std::printf("(nothing read)\n");

  {
    const std::vector<uint8_t> book = SheetsWorkbook(sheets);
    const double plain = PlainRead(book);
    cpu = CpuSeconds();
    vantrix::TxlsFile loaded;
    loaded.LoadStream(book);
    const double bookLoad = CpuSeconds() - cpu;
    cpu = CpuSeconds();
    const std::string dump = vantrix::DumpCells(loaded.Workbook());
    const double bookDump = CpuSeconds() - cpu;
    vantrix::TxlsMemoryStream bookSaved;
    cpu = CpuSeconds();
    loaded.Workbook().Save(bookSaved);
    const double bookSave = CpuSeconds() - cpu;
    const bool named = loaded.Workbook().WorkSheet(0).GetName() == u"Sheet 0";
    std::printf("workbook reader: %d sheets listed in reverse (%.1f MB stream, %d shared strings with their EXTSST) "
                "loaded in %.3f s of processor time, cells and names dumped in %.3f s (%zu bytes, first sheet %s), "
                "saved in %.3f s (%.1f KB, %zu strings kept); a plain read of the records: %.3f s (load, dump and "
                "save at %.1f times its time)\n",
                sheets, static_cast<double>(book.size()) / 1e6, 2 * sheets, bookLoad, bookDump, dump.size(),
                named ? "named by its own BOUNDSHEET" : "MISNAMED", bookSave, static_cast<double>(bookSaved.Size()) / 1024.0,
                loaded.Workbook().Globals().SST.Count(), plain,
                plain > 0 ? (bookLoad + bookDump + bookSave) / plain : 0.0);
  }

  if (xlrd) {
    const char* dir = std::getenv("TMPDIR");
    const std::string path = std::string(dir != nullptr && *dir != '\0' ? dir : "/tmp") + "/tervana_xls_reader_bench_" +
                             std::to_string(::getpid()) + ".xls";
    {
      vantrix::TxlsCompoundFile out(path);
      out.Stream().Write(stream);
      out.Commit();
    }
    double seconds = 0, megabytes = 0;
    Xlrd(path, seconds, megabytes);
    std::remove(path.c_str());
    if (seconds < 0) std::printf("xlrd: could not be run\n");
    else
      std::printf("xlrd on the same workbook with its formatting: %.3f s of processor time, peak %.1f MB\n", seconds,
                  megabytes);
  }
  return 0;
}
