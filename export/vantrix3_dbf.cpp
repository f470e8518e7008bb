#include "export/vantrix3_dbf.h"

#include <QDate>
#include <charconv>
#include <cstdio>
#include <exception>
#include <filesystem>

#include "export/data_source.h"
#include "export/dbf_writer.h"
#include "export/ini_helpers.h"
#include "export/machine_number.h"
#include "export/output_stream.h"
#include "export/short_field_names.h"
#include "export/text_to_value.h"
#include "platform/cp1252.h"
#include "platform/cp1252_case.h"
#include "platform/ini_file.h"

namespace vantrix {
namespace {

constexpr int kTimeLength = 20;

bool IsNullText(const std::string& text) { return platform::Cp1252SameText(text, "null"); }

bool ContainsUpper(const std::string& text, std::string_view word) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(platform::Cp1252UpperCase(static_cast<unsigned char>(c)));
  return upper.find(word) != std::string::npos;
}

std::string FieldName(const std::string& columnName) {
  std::string name = columnName.empty() ? std::string("FIELD") : columnName;
  // A NUL would end the name early for readers, and a byte that is no character of the code
  // page cannot be decoded; other control bytes are no help either.
  for (char& c : name)
    if (static_cast<unsigned char>(c) < 0x20 || platform::IsCp1252NonCharacter(static_cast<unsigned char>(c))) c = '_';
  return name;
}

int IntegerBefore(std::string_view text, int def) {
  int value = def;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() ? value : def;
}

TDateTime Today() {
  const QDate today = QDate::currentDate();
  TDateTime value = 0;
  platform::TryEncodeDate(today.year(), today.month(), today.day(), value);
  return value;
}

}  // namespace

TVantrix3DBF::TVantrix3DBF() { Formats().SetNullString("null"); }

void TVantrix3DBF::SetNullValue(const std::string& value) {
  if (value != NullValue()) Formats().SetNullString(value);
}

std::string TVantrix3DBF::GetMemoFileName() const {
  std::filesystem::path path(FileName);
  path.replace_extension(".dbt");
  return path.string();
}

std::unique_ptr<TVantrixWriter> TVantrix3DBF::CreateWriter(OutputStream& stream) {
  return std::make_unique<TVantrixDBFWriter>(*this, stream);
}

TVantrixDBFWriter& TVantrix3DBF::Writer() const { return static_cast<TVantrixDBFWriter&>(*GetWriter()); }

void TVantrix3DBF::BeginExport() {
  TVantrix3Text::BeginExport();
  TVantrixDBFWriter& writer = Writer();
  // Refused before the fields are named: naming tens of thousands of them is what takes long.
  TVantrixDBFWriter::CheckFieldCount(static_cast<size_t>(Columns().Count()));
  TShortFieldNameGenerator names;
  bool blobs = false;
  for (int i = 0; i < Columns().Count(); ++i) {
    const TVantrixColumn& column = Columns()[i];
    std::string name = names.GetShortFieldName(FieldName(column.Name));
    for (char& c : name) c = static_cast<char>(platform::Cp1252UpperCase(static_cast<unsigned char>(c)));
    if (column.IsBlob) {
      blobs = true;
      writer.AddField(name, 'M', 10, 0);
      continue;
    }
    switch (column.ColType) {
      case ectInteger: writer.AddField(name, 'N', 11, 0); break;
      case ectBigint: writer.AddField(name, 'N', 20, 0); break;
      case ectFloat:
      case ectCurrency: {
        int size = DefaultFloatSize, decimals = DefaultFloatDecimal;
        std::string precision;
        if (FindValue(ColumnsPrecision, column.Name, precision)) {
          const size_t comma = precision.find(',');
          if (comma != std::string::npos) {
            size = IntegerBefore(std::string_view(precision).substr(0, comma), 0);
            decimals = IntegerBefore(std::string_view(precision).substr(comma + 1), 0);
            if (size < 1 && decimals < 1) {
              size = DefaultFloatSize;
              decimals = DefaultFloatDecimal;
            }
          }
        }
        writer.AddField(name, 'N', size, decimals);
        break;
      }
      case ectDate:
      case ectDateTime: writer.AddField(name, 'D', 8, 0); break;
      // A date field would hold 30/12/1899 for every time of day: the time stays a text.
      case ectTime: writer.AddField(name, 'C', kTimeLength, 0); break;
      case ectString: writer.AddField(name, 'C', column.Length, 0); break;
      case ectBoolean: writer.AddField(name, 'L', 1, 0); break;
      default: writer.AddField(name, 'C', 50, 0); break;
    }
  }
  // The memo file goes beside a table file; an output of another kind gets blank fields.
  const bool toFile = dynamic_cast<FileOutputStream*>(&writer.Stream()) != nullptr;
  if (blobs && toFile) RefuseFileRead(GetMemoFileName());
  writer.WriteHeader(ExportDate != 0 ? ExportDate : Today(), blobs && toFile ? GetMemoFileName() : std::string());
}

// The field's bytes (its length exactly) for the current record, into out.
void TVantrix3DBF::FieldText(int i, std::string& out) {
  const TDBFField& field = Writer().Fields()[static_cast<size_t>(i)];
  const size_t length = static_cast<size_t>(field.length);
  const TVantrixCol& cell = Row()[i];
  const TVantrixColumn& column = Columns()[cell.ColumnIndex()];
  out.assign(length, ' ');
  const bool null = Columns().GetColumnIsNull(cell.ColumnIndex());

  if (field.type == 'M') {
    if (!Writer().HasMemoFile() || null) return;
    // The bytes as the source holds them, not trimmed like the row's text.
    std::string bytes;
    VantrixGetColData(Sources(), bytes, false, RunSkipRecCount(), RecordCounter(), cell.ColumnIndex(), nullptr,
                      Formats(), Columns());
    if (bytes.empty() || bytes.size() > TVantrixDBFWriter::kMaxMemo) return;
    const std::string block = std::to_string(Writer().WriteMemo(bytes));
    out.replace(length - block.size(), block.size(), block);
    return;
  }
  if (field.type == 'N') {
    const std::string& value = cell.Value();
    if (null || value.empty() || IsNullText(value) || !MachineNumberText(value, Formats().Settings(), number_)) return;
    const bool whole = number_.find_first_of(".E") == std::string::npos;
    if (field.decimals == 0 && whole) {
      // Integers as written, so that 20 digits of a big integer stay exact.
      if (number_.size() > length) out.assign(length, '*');
      else out.replace(length - number_.size(), number_.size(), number_);
      return;
    }
    double number = 0;
    std::from_chars(number_.data(), number_.data() + number_.size(), number);
    out = FixedWidthNumber(number, field.length, field.decimals);
    return;
  }
  if (field.type == 'D') {
    TDateTime moment = 0;
    if (null || !TryStrToDateTime(cell.Value(), Formats().Settings(), moment)) return;
    platform::DateParts date;
    platform::DecodeDate(moment, date);
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d", date.year % 10000, date.month, date.day);
    out.replace(0, 8, text, 8);
    return;
  }
  // A time, and a text with no picture, is the cell's value as it stands.
  const std::string* text = &cell_;
  if (column.ColType == ectTime || (!column.AllowFormat && !null)) text = &cell.Value();
  else cell.GetExportedValue(true, cell_);
  if (null || IsNullText(*text)) return;
  if (field.type == 'L') {
    if (ContainsUpper(*text, "TRUE") || platform::Cp1252SameText(*text, Formats().BooleanTrue())) out[0] = 'T';
    else if (ContainsUpper(*text, "FALSE") || platform::Cp1252SameText(*text, Formats().BooleanFalse())) out[0] = 'F';
    return;
  }
  out.replace(0, std::min(text->size(), length), *text, 0, length);
}

void TVantrix3DBF::WriteDataRow() {
  record_.assign(1, ' ');
  std::string field;
  for (int i = 0; i < Row().Count(); ++i) {
    FieldText(i, field);
    record_ += field;
  }
  Writer().WriteRecord(record_);
}

void TVantrix3DBF::EndExport() {
  // After an error the memo file is dropped with the table.
  Writer().Finish(std::uncaught_exceptions() == 0);
  TVantrix3Text::EndExport();
}

void TVantrix3DBF::SaveProperties(platform::IniFile& ini) const {
  TVantrix3Text::SaveProperties(ini);
  WriteListSection(ini, "LENGTH", "line", ColumnsLength);
}

void TVantrix3DBF::LoadProperties(const platform::IniFile& ini) {
  TVantrix3Text::LoadProperties(ini);
  ColumnsLength = ReadNameValueListSection(ini, "LENGTH");
}

}  // namespace vantrix
