#include "export/xls/compound_file.h"

#include <gsf/gsf.h>

#include <cstdio>
#include <mutex>
#include <vector>

#include "export/xls/xls_error.h"

namespace vantrix {
namespace {

constexpr size_t kCopyChunk = 1u << 20;
constexpr const char* kWorkbookStreamName = "Workbook";
constexpr uint64_t kHeaderSector = 512;

void InitGsf() {
  static std::once_flag once;
  std::call_once(once, [] { gsf_init(); });
}

// The reason of a libgsf error as the user can follow it: libgsf may put the file's name before
// it, and our message names the file already.
std::string Reason(const GError* error, const std::string& fileName) {
  const char* text = error != nullptr ? error->message : nullptr;
  std::string reason = text != nullptr && *text != '\0' ? text : "unknown error";
  if (!fileName.empty() && reason.size() > fileName.size() + 2 && reason.compare(0, fileName.size(), fileName) == 0 &&
      reason.compare(fileName.size(), 2, ": ") == 0) {
    reason.erase(0, fileName.size() + 2);
  }
  return reason;
}

std::string OutputErrorText(GsfOutput* output, const std::string& fileName) {
  return Reason(output != nullptr ? gsf_output_error(output) : nullptr, fileName);
}

// Copies the stream into the "Workbook" child of a compound file written through a stdio
// stream of its own on the new file (libgsf writes and seeks through stdio). The reason when a
// step failed, empty when the file holds it all.
std::string WriteCompoundFile(platform::AtomicFile& file, const std::string& fileName, TxlsWorkbookBuffer& buffer) {
  InitGsf();
  FILE* stream = file.DuplicateStream();
  if (stream == nullptr) return file.Error();
  // Closing the output closes the stream.
  GsfOutput* sink = gsf_output_stdio_new_FILE(fileName.c_str(), stream, FALSE);
  if (sink == nullptr) {
    std::fclose(stream);
    return "cannot write the compound file";
  }
  // libgsf's default layout: 512-byte sectors, 64-byte mini sectors.
  GsfOutfile* ole = gsf_outfile_msole_new(sink);
  GsfOutput* child = ole != nullptr ? gsf_outfile_new_child(ole, kWorkbookStreamName, FALSE) : nullptr;
  std::string failure = ole == nullptr ? "cannot create the compound file" : child == nullptr ? "cannot create its Workbook stream" : "";
  try {
    if (failure.empty()) {
      std::vector<uint8_t> chunk(kCopyChunk);
      buffer.Seek(0);
      for (size_t n; failure.empty() && (n = buffer.Read(chunk.data(), chunk.size())) > 0;)
        if (!gsf_output_write(child, n, chunk.data())) failure = OutputErrorText(child, fileName);
    }
  } catch (const std::exception& e) {
    failure = e.what();
  }
  if (child != nullptr) {
    if (!gsf_output_close(child) && failure.empty()) failure = OutputErrorText(child, fileName);
    g_object_unref(child);
  }
  if (ole != nullptr) {
    // Its error is usually the file's under it.
    if (!gsf_output_close(GSF_OUTPUT(ole)) && failure.empty())
      failure = OutputErrorText(gsf_output_error(sink) != nullptr ? sink : GSF_OUTPUT(ole), fileName);
    g_object_unref(ole);
  }
  // The stream's last bytes reach the file here, and a full disk may say so only now.
  const bool closed = gsf_output_is_closed(sink) || gsf_output_close(sink);
  if ((!closed || gsf_output_error(sink) != nullptr) && failure.empty()) failure = OutputErrorText(sink, fileName);
  g_object_unref(sink);
  return failure;
}

}  // namespace

TxlsCompoundFile::TxlsCompoundFile(const std::string& fileName, size_t memoryLimit)
    : fileName_(fileName), buffer_(memoryLimit) {
  // Refused as every other export's file is, in the same words, before anything is written.
  if (!file_.Open(fileName)) throw ExlsFileError("Cannot create the file \"" + fileName + "\": " + file_.Error());
}

TxlsCompoundFile::~TxlsCompoundFile() = default;

void TxlsCompoundFile::Commit() {
  if (!file_.IsOpen()) throw ExlsFileError("The workbook file \"" + fileName_ + "\" is already closed");
  std::string failure = WriteCompoundFile(file_, fileName_, buffer_);
  // Only a file that holds at least the header sector and the stream takes the target's place.
  if (const long long size = file_.Size();
      failure.empty() && (size < 0 || static_cast<uint64_t>(size) < buffer_.Size() + kHeaderSector))
    failure = "it is not whole after writing";
  if (failure.empty() && !file_.Commit()) failure = file_.Error();
  if (!failure.empty()) {
    file_.Discard();
    throw ExlsFileError("Error writing the file \"" + fileName_ + "\": " + failure);
  }
  committed_ = true;
}

std::unique_ptr<TxlsCompoundFile> CreateXLSStream(const std::string& fileName) {
  return std::make_unique<TxlsCompoundFile>(fileName);
}

}  // namespace vantrix
