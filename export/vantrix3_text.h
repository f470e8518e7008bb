#pragma once
// The exporters that write a file, and the property sets of the formats built on them.
#include <functional>
#include <string>

#include "export/vantrix3.h"

namespace vantrix {

// Output to a file: written beside the target and put in its place when the run ends well,
// so a refused source, an error or an abort before any output leaves the old file as it was.
class TVantrix3Text : public TVantrix3 {
 public:
  std::string FileName;  // in the file system's encoding
  bool ShowFile = false;
  bool PrintFile = false;
  // Files the run reads besides its rows (an options file, a template, the file the rows come
  // from), listed by its caller: no file the run writes takes the place of one of them,
  // whatever name it is given by.
  TStrings ReadFiles;
  // What went wrong opening or printing the result (the run itself succeeded).
  std::function<void(TVantrix3Text& sender, const std::string& message)> OnShowResultError;

  // Creates missing folders (raising 34025 when it can't), writes the file, then shows or
  // prints it as asked. Raises 34023 for an empty file name, and before anything is written
  // when the file is one the run reads.
  TVantrixRunResult Execute() override;

  void SaveProperties(platform::IniFile& ini) const override;
  void LoadProperties(const platform::IniFile& ini) override;

 protected:
  // Raises 34023 for an empty file name; creates the file's missing folders, raising 34025
  // when they can't be made.
  void PrepareFolder() const;
  // The files the run reads: ReadFiles, and those the format reads itself.
  virtual TStrings FilesRead() const { return ReadFiles; }
  // Raises EVantrixError when the run would write the file over one of FilesRead.
  void RefuseFileRead(const std::string& path) const;
  // Opens and prints the result as asked; nothing after an abort.
  virtual void ShowResult();
  virtual std::string GetShowedFileName() const { return FileName; }
  virtual std::string GetPrintedFileName() const { return FileName; }
};

// Publishes Header and Footer.
class TVantrix3AdvancedText : public TVantrix3Text {
 public:
  void SaveProperties(platform::IniFile& ini) const override;
  void LoadProperties(const platform::IniFile& ini) override;
};

// Publishes AllowCaptions, Captions, Formats and UserFormats: the base of the plain text,
// HTML, LaTeX, PDF, RTF and spreadsheet exporters.
class TVantrix3FormatText : public TVantrix3AdvancedText {
 public:
  void SaveProperties(platform::IniFile& ini) const override;
  void LoadProperties(const platform::IniFile& ini) override;

  const TVantrixFormats* OwnerFormats() const override { return &Formats(); }
  const TStrings* OwnerCaptions() const override { return &Captions; }
  const TStrings* OwnerUserFormats() const override { return &UserFormats; }
};

// Publishes Formats and UserFormats, no captions: the base of the SQL exporter.
class TVantrix3FormatTextSQL : public TVantrix3AdvancedText {
 public:
  void SaveProperties(platform::IniFile& ini) const override;
  void LoadProperties(const platform::IniFile& ini) override;

  const TVantrixFormats* OwnerFormats() const override { return &Formats(); }
  const TStrings* OwnerUserFormats() const override { return &UserFormats; }
};

// "FORMATS": the nine texts of the formats in their fixed order, and back through their
// setters (an empty value falls back where the setter does).
void SaveFormatsToIniFile(const TVantrixFormats& formats, platform::IniFile& ini);
void LoadFormatsFromIniFile(TVantrixFormats& formats, const platform::IniFile& ini);

}  // namespace vantrix
