#include "export/vantrix3_text.h"

#include <filesystem>
#include <system_error>

#include "export/ini_helpers.h"
#include "export/library_strings.h"
#include "export/output_stream.h"
#include "export/shell_service.h"
#include "platform/cp1252.h"
#include "platform/ini_file.h"

namespace vantrix {
namespace {

std::string Shown(const std::string& path) { return platform::ExternalTextToCp1252(path); }

}  // namespace

void TVantrix3Text::PrepareFolder() const {
  if (FileName.empty()) RaiseLibraryError(kStrNoResultFileName, "");
  namespace fs = std::filesystem;
  fs::path dir = fs::path(FileName).parent_path();
  std::error_code error;
  if (dir.empty()) dir = fs::current_path(error);
  if (!fs::is_directory(dir, error)) {
    fs::create_directories(dir, error);
    if (!fs::is_directory(dir, error)) RaiseLibraryError(kStrCannotCreateDir, Shown(dir.string()));
  }
}

void TVantrix3Text::RefuseFileRead(const std::string& path) const { vantrix::RefuseFileRead(path, FilesRead()); }

TVantrixRunResult TVantrix3Text::Execute() {
  PrepareFolder();
  RefuseFileRead(FileName);
  TVantrixRunResult result;
  {
    FileOutputStream file(FileName);
    result = ExportToStream(file);
    // Nothing was written when the run stopped while it began: the old file stays.
    if (result != rrAbortedBeforeOutput) file.Commit();
  }
  ShowResult();
  return result;
}

void TVantrix3Text::ShowResult() {
  if (Aborted()) return;
  auto report = [this](const std::string& message) {
    if (!message.empty() && OnShowResultError) OnShowResultError(*this, message);
  };
  if (ShowFile) report(ShellService().Open(GetShowedFileName()));
  if (PrintFile) report(ShellService().Print(GetPrintedFileName()));
}

void TVantrix3Text::SaveProperties(platform::IniFile& ini) const {
  TVantrix3::SaveProperties(ini);
  ini.WriteString("GENERAL", "FileName", FileName);
  ini.WriteBool("GENERAL", "ShowFile", ShowFile);
  ini.WriteBool("GENERAL", "PrintFile", PrintFile);
}

void TVantrix3Text::LoadProperties(const platform::IniFile& ini) {
  TVantrix3::LoadProperties(ini);
  FileName = ini.ReadString("GENERAL", "FileName", FileName);
  ShowFile = ini.ReadBool("GENERAL", "ShowFile", ShowFile);
  PrintFile = ini.ReadBool("GENERAL", "PrintFile", PrintFile);
}

void TVantrix3AdvancedText::SaveProperties(platform::IniFile& ini) const {
  TVantrix3Text::SaveProperties(ini);
  WriteListSection(ini, "HEADER", "line", Header);
  WriteListSection(ini, "FOOTER", "line", Footer);
}

void TVantrix3AdvancedText::LoadProperties(const platform::IniFile& ini) {
  TVantrix3Text::LoadProperties(ini);
  Header = ReadListSection(ini, "HEADER");
  Footer = ReadListSection(ini, "FOOTER");
}

void SaveFormatsToIniFile(const TVantrixFormats& f, platform::IniFile& ini) {
  ini.WriteString("FORMATS", "Integer", f.IntegerFormat());
  ini.WriteString("FORMATS", "Float", f.FloatFormat());
  ini.WriteString("FORMATS", "Date", f.DateFormat());
  ini.WriteString("FORMATS", "Time", f.TimeFormat());
  ini.WriteString("FORMATS", "DateTime", f.DateTimeFormat());
  ini.WriteString("FORMATS", "Currency", f.CurrencyFormat());
  ini.WriteString("FORMATS", "BooleanTrue", f.BooleanTrue());
  ini.WriteString("FORMATS", "BooleanFalse", f.BooleanFalse());
  ini.WriteString("FORMATS", "NullString", f.NullString());
}

void LoadFormatsFromIniFile(TVantrixFormats& f, const platform::IniFile& ini) {
  f.SetIntegerFormat(ini.ReadString("FORMATS", "Integer", f.IntegerFormat()));
  f.SetFloatFormat(ini.ReadString("FORMATS", "Float", f.FloatFormat()));
  f.SetDateFormat(ini.ReadString("FORMATS", "Date", f.DateFormat()));
  f.SetTimeFormat(ini.ReadString("FORMATS", "Time", f.TimeFormat()));
  f.SetDateTimeFormat(ini.ReadString("FORMATS", "DateTime", f.DateTimeFormat()));
  f.SetCurrencyFormat(ini.ReadString("FORMATS", "Currency", f.CurrencyFormat()));
  f.SetBooleanTrue(ini.ReadString("FORMATS", "BooleanTrue", f.BooleanTrue()));
  f.SetBooleanFalse(ini.ReadString("FORMATS", "BooleanFalse", f.BooleanFalse()));
  f.SetNullString(ini.ReadString("FORMATS", "NullString", f.NullString()));
}

void TVantrix3FormatText::SaveProperties(platform::IniFile& ini) const {
  TVantrix3AdvancedText::SaveProperties(ini);
  ini.WriteBool("GENERAL", "AllowCaptions", AllowCaptions);
  WriteListSection(ini, "CAPTIONS", "line", Captions);
  SaveFormatsToIniFile(Formats(), ini);
  WriteListSection(ini, "USER_FORMATS", "line", UserFormats);
}

void TVantrix3FormatText::LoadProperties(const platform::IniFile& ini) {
  TVantrix3AdvancedText::LoadProperties(ini);
  AllowCaptions = ini.ReadBool("GENERAL", "AllowCaptions", AllowCaptions);
  Captions = ReadListSection(ini, "CAPTIONS");
  LoadFormatsFromIniFile(Formats(), ini);
  UserFormats = ReadListSection(ini, "USER_FORMATS");
}

void TVantrix3FormatTextSQL::SaveProperties(platform::IniFile& ini) const {
  TVantrix3AdvancedText::SaveProperties(ini);
  SaveFormatsToIniFile(Formats(), ini);
  WriteListSection(ini, "USER_FORMATS", "line", UserFormats);
}

void TVantrix3FormatTextSQL::LoadProperties(const platform::IniFile& ini) {
  TVantrix3AdvancedText::LoadProperties(ini);
  LoadFormatsFromIniFile(Formats(), ini);
  UserFormats = ReadListSection(ini, "USER_FORMATS");
}

}  // namespace vantrix
