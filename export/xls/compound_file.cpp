#include "export/xls/compound_file.h"

#include <gsf/gsf.h>

#include <filesystem>
#include <mutex>
#include <string_view>
#include <vector>

#include "export/xls/xls_error.h"
#include "platform/atomic_file.h"

namespace vantrix {
namespace {

constexpr size_t kCopyChunk = 1u << 20;
constexpr const char* kWorkbookStreamName = "Workbook";
constexpr uint64_t kHeaderSector = 512;

void InitGsf() {
  static std::once_flag once;
  std::call_once(once, [] { gsf_init(); });
}

constexpr std::string_view kTemporaryMark = ".gsf-save-";

// The reason of a libgsf error as the user can follow it. libgsf writes into a temporary file
// beside the target and names that file in its messages ("<folder>/.gsf-save-XXXXXX: reason"),
// or names the target itself: the user knows only the target, and our message names it already.
std::string Reason(const char* text, const std::string& fileName) {
  std::string reason = text != nullptr && *text != '\0' ? text : "unknown error";
  if (const size_t mark = reason.find(kTemporaryMark); mark != std::string::npos) {
    const size_t colon = reason.find(": ", mark);
    reason = colon != std::string::npos ? reason.substr(colon + 2) : "it cannot be written there";
  } else if (!fileName.empty() && reason.size() > fileName.size() + 2 && reason.compare(0, fileName.size(), fileName) == 0 &&
             reason.compare(fileName.size(), 2, ": ") == 0) {
    reason.erase(0, fileName.size() + 2);
  }
  return reason;
}

// The GError's reason in the exception; the error is freed.
[[noreturn]] void RaiseGError(const std::string& what, const std::string& fileName, GError* error) {
  std::string message = what;
  if (error != nullptr) {
    message += ": ";
    message += Reason(error->message, fileName);
    g_error_free(error);
  }
  throw ExlsFileError(message);
}

std::string OutputErrorText(GsfOutput* output, const std::string& fileName) {
  const GError* error = output != nullptr ? gsf_output_error(output) : nullptr;
  return Reason(error != nullptr ? error->message : nullptr, fileName);
}

}  // namespace

TxlsCompoundFile::TxlsCompoundFile(const std::string& fileName, size_t memoryLimit)
    : fileName_(fileName), buffer_(memoryLimit) {
  // Refused as every other export's file is, in the same words, before libgsf is asked.
  if (const std::string refusal = platform::ReplaceRefusal(fileName); !refusal.empty())
    throw ExlsFileError("Cannot create the file \"" + fileName + "\": " + refusal);
  InitGsf();
  GError* error = nullptr;
  GsfOutput* sink = gsf_output_stdio_new(fileName.c_str(), &error);
  if (sink == nullptr) RaiseGError("Cannot create the file \"" + fileName + "\"", fileName, error);
  sink_ = sink;
}

TxlsCompoundFile::~TxlsCompoundFile() { Discard(); }

// Closing an output marked in error removes its temporary file and leaves the target alone.
void TxlsCompoundFile::Discard() {
  if (sink_ == nullptr) return;
  auto* sink = static_cast<GsfOutput*>(sink_);
  sink_ = nullptr;
  if (!gsf_output_is_closed(sink)) {
    gsf_output_set_error(sink, 0, "%s", "workbook discarded");
    gsf_output_close(sink);
  }
  g_object_unref(sink);
}

void TxlsCompoundFile::Commit() {
  if (sink_ == nullptr) throw ExlsFileError("The workbook file \"" + fileName_ + "\" is already closed");
  auto* sink = static_cast<GsfOutput*>(sink_);
  // libgsf's default layout: 512-byte sectors, 64-byte mini sectors.
  GsfOutfile* ole = gsf_outfile_msole_new(sink);
  if (ole == nullptr) {
    Discard();
    throw ExlsFileError("Cannot create the compound file \"" + fileName_ + "\"");
  }
  GsfOutput* child = gsf_outfile_new_child(ole, kWorkbookStreamName, FALSE);
  bool ok = child != nullptr;
  std::string failure = ok ? "" : "cannot create its Workbook stream";
  try {
    if (ok) {
      std::vector<uint8_t> chunk(kCopyChunk);
      buffer_.Seek(0);
      for (;;) {
        const size_t n = buffer_.Read(chunk.data(), chunk.size());
        if (n == 0) break;
        if (!gsf_output_write(child, n, chunk.data())) {
          ok = false;
          failure = OutputErrorText(child, fileName_);
          break;
        }
      }
    }
  } catch (const std::exception& e) {
    ok = false;
    failure = e.what();
  }
  if (child != nullptr) {
    if (!gsf_output_close(child) && ok) {
      ok = false;
      failure = OutputErrorText(child, fileName_);
    }
    g_object_unref(child);
  }
  // A failure so far marks the file in error, so closing the compound file (which closes
  // the temporary file under it) throws it away instead of renaming it into place.
  if (!ok) gsf_output_set_error(sink, 0, "%s", failure.c_str());
  const bool closed = gsf_output_close(GSF_OUTPUT(ole)) != FALSE;
  if (ok && (!closed || gsf_output_error(sink) != nullptr)) {
    ok = false;
    failure = OutputErrorText(sink, fileName_);
  }
  g_object_unref(ole);
  if (!gsf_output_is_closed(sink)) {
    if (ok) {
      ok = gsf_output_close(sink) != FALSE;
      if (!ok) failure = OutputErrorText(sink, fileName_);
    } else {
      gsf_output_close(sink);
    }
  }
  g_object_unref(sink);
  sink_ = nullptr;
  if (!ok) throw ExlsFileError("Error writing the file \"" + fileName_ + "\": " + failure);
  // The closed file is in its place and holds at least the header sector and the stream.
  std::error_code error;
  const auto size = std::filesystem::file_size(fileName_, error);
  if (error || size < buffer_.Size() + kHeaderSector)
    throw ExlsFileError("Error writing the file \"" + fileName_ + "\": it is not there whole after closing");
  committed_ = true;
}

std::unique_ptr<TxlsCompoundFile> CreateXLSStream(const std::string& fileName) {
  return std::make_unique<TxlsCompoundFile>(fileName);
}

}  // namespace vantrix
