#include <stdexcept>

#include "export/ini_helpers.h"
#include "export/library_strings.h"
#include "export/vantrix3.h"
#include "platform/ini_file.h"

// The exporter base's properties in an INI file: keys written in a fixed order, read back
// with the property's present value as default.
namespace vantrix {

void TVantrix3::SaveProperties(platform::IniFile& ini) const {
  ini.WriteBool("GENERAL", "GoToFirstRecord", GoToFirstRecord);
  ini.WriteBool("GENERAL", "ExportEmpty", ExportEmpty);
  ini.WriteBool("GENERAL", "CurrentRecordOnly", CurrentRecordOnly);
  ini.WriteInteger("GENERAL", "ExportRecCount", ExportRecCount);
  ini.WriteInteger("GENERAL", "SkipRecCount", SkipRecCount);
  ini.WriteBool("GENERAL", "OnlyVisibleFields", OnlyVisibleFields);
  ini.WriteBool("GENERAL", "AutocalcStrType", AutoCalcStrType);
  ini.WriteInteger("GENERAL", "CaptionRow", CaptionRow);
  WriteListSection(ini, "FIELDS", "field", ExportedFields);
}

void TVantrix3::LoadProperties(const platform::IniFile& ini) {
  GoToFirstRecord = ini.ReadBool("GENERAL", "GoToFirstRecord", GoToFirstRecord);
  ExportEmpty = ini.ReadBool("GENERAL", "ExportEmpty", ExportEmpty);
  CurrentRecordOnly = ini.ReadBool("GENERAL", "CurrentRecordOnly", CurrentRecordOnly);
  ExportRecCount = ini.ReadInteger("GENERAL", "ExportRecCount", ExportRecCount);
  SkipRecCount = ini.ReadInteger("GENERAL", "SkipRecCount", SkipRecCount);
  OnlyVisibleFields = ini.ReadBool("GENERAL", "OnlyVisibleFields", OnlyVisibleFields);
  AutoCalcStrType = ini.ReadBool("GENERAL", "AutocalcStrType", AutoCalcStrType);
  CaptionRow = ini.ReadInteger("GENERAL", "CaptionRow", CaptionRow);
  ExportedFields = ReadListSection(ini, "FIELDS");
}

void TVantrix3::SavePropertiesToFile(const std::string& path) const {
  platform::IniFile ini(path);
  platform::IniFile::UpdateScope update(ini);
  SaveProperties(ini);
  if (!update.Commit()) throw EVantrixError(IniFileWriteErrorText(ini));
}

// A file that cannot be read is told, and nothing changes: its options would all read as
// their defaults.
void TVantrix3::LoadPropertiesFromFile(const std::string& path) {
  platform::IniFile file(path);
  CheckIniFileReadable(file);
  // Read as it is now: outside a scope every read looks again whether the file changed.
  const platform::IniFile::UpdateScope asReadNow(file);
  LoadProperties(file);
}

}  // namespace vantrix
