// The workbook stream while it is assembled (writes, patches in place, splices) in memory and
// after it moved to its temporary file, and the compound file's "Workbook" child holding every
// byte of it, read back through libgsf.
#include <gtest/gtest.h>
#include <gsf/gsf.h>

#include <random>

#include "export/export_fixtures.h"
#include "export/xls/compound_file.h"

namespace {

using namespace vantrix;
using Bytes = std::vector<uint8_t>;

Bytes Pattern(size_t size, uint8_t seed) {
  Bytes b(size);
  for (size_t i = 0; i < size; ++i) b[i] = static_cast<uint8_t>(seed + i * 31 + (i >> 9));
  return b;
}

Bytes ReadAll(TxlsStream& s) {
  Bytes out(static_cast<size_t>(s.Size()));
  s.Seek(0);
  EXPECT_EQ(s.Read(out.data(), out.size()), out.size());
  return out;
}

// The same random writes, patches and splices on a memory stream and on a buffer that
// moves to its file early give the same bytes.
TEST(WorkbookStream, BufferInFileBehavesAsMemory) {
  for (const size_t limit : {size_t{1} << 30, size_t{4096}, size_t{0}}) {
    TxlsMemoryStream reference;
    TxlsWorkbookBuffer buffer(limit);
    std::mt19937 random(static_cast<unsigned>(limit));
    for (int step = 0; step < 400; ++step) {
      const unsigned op = random() % 10;
      if (op < 6) {
        const Bytes bytes = Pattern(random() % 3000, static_cast<uint8_t>(step));
        reference.Write(bytes);
        buffer.Write(bytes);
      } else if (op < 8) {
        const uint64_t at = reference.Size() == 0 ? 0 : random() % reference.Size();
        reference.Seek(at);
        buffer.Seek(at);
      } else {
        const Bytes bytes = Pattern(random() % 5000, static_cast<uint8_t>(step + 1));
        const uint64_t at = reference.Size() == 0 ? 0 : random() % reference.Size();
        reference.Insert(at, bytes.data(), bytes.size());
        buffer.Insert(at, bytes.data(), bytes.size());
      }
      ASSERT_EQ(buffer.Position(), reference.Position());
      ASSERT_EQ(buffer.Size(), reference.Size());
    }
    EXPECT_EQ(buffer.InFile(), limit < reference.Size()) << limit;
    EXPECT_EQ(ReadAll(buffer), reference.Bytes()) << limit;
    EXPECT_THROW(buffer.Seek(buffer.Size() + 1), ExlsFileError);
    EXPECT_THROW(buffer.Insert(buffer.Size() + 1, "x", 1), ExlsFileError);
  }
}

Bytes WorkbookChild(const std::string& path) {
  GError* error = nullptr;
  GsfInput* input = gsf_input_stdio_new(path.c_str(), &error);
  EXPECT_NE(input, nullptr);
  if (input == nullptr) return {};
  GsfInfile* ole = gsf_infile_msole_new(input, &error);
  g_object_unref(input);
  EXPECT_NE(ole, nullptr);
  if (ole == nullptr) return {};
  EXPECT_EQ(gsf_infile_num_children(ole), 1);
  GsfInput* child = gsf_infile_child_by_name(ole, "Workbook");
  Bytes out;
  if (child != nullptr) {
    out.resize(static_cast<size_t>(gsf_input_size(child)));
    if (!out.empty()) gsf_input_read(child, out.size(), out.data());
    g_object_unref(child);
  }
  g_object_unref(ole);
  return out;
}

TEST(WorkbookStream, CompoundFileHoldsEveryByteOfTheStream) {
  exporttest::TempFolder folder;
  // Small (in the mini stream), just over a sector, and large after a move to the file.
  for (const size_t size : {size_t{100}, size_t{4097}, size_t{3u << 20}}) {
    const std::string path = folder / ("book" + std::to_string(size) + ".xls");
    TxlsCompoundFile file(path, 1u << 20);
    const Bytes bytes = Pattern(size, 7);
    file.Stream().Write(bytes);
    file.Stream().Seek(10);
    file.Stream().Write("patch", 5);
    file.Commit();
    Bytes expected = bytes;
    std::copy_n("patch", 5, expected.begin() + 10);
    EXPECT_EQ(WorkbookChild(path), expected) << size;
    EXPECT_EQ(file.Buffer().InFile(), size > (1u << 20));
  }
}

}  // namespace
