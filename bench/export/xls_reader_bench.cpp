// Workbook reader figures: a sheet of many COLINFO records over every column (200,000 records
// of 256 columns, a 3 MB stream, once 2 GB and 3.5 s to load), loaded and saved, against a
// plain read of the same records in the same run; with --xlrd, Debian's xlrd opening the same
// workbook with its formatting (it takes every column of every record too) as a peer.
//   xls_reader_bench [--records N] [--xlrd]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "bench/measure.h"
#include "export/xls/compound_file.h"
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
  int records = 200000;
  bool xlrd = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--records") == 0 && i + 1 < argc) records = std::atoi(argv[++i]);
    if (std::strcmp(argv[i], "--xlrd") == 0) xlrd = true;
  }
  if (records < 1) {
    std::fprintf(stderr, "xls_reader_bench: --records must be at least 1\n");
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
