#pragma once
// The HTML exporter: the rows as a table styled by a style sheet (inline, or a .css file the
// pages link), colours preset by one of nine templates. With MaxRecords above 0 a file export
// is split into numbered files of at most that many rows, with navigation bars at the top and
// bottom of each and, when asked, an index page in the file named. Every page is opened at
// the first row actually written and closed once; a table without rows still gets a whole
// page. Pages are code page 1252 and say so.
#include <set>
#include <string>
#include <vector>

#include "export/html_options.h"
#include "export/html_writer.h"
#include "export/output_stream.h"
#include "export/vantrix3_text.h"

namespace vantrix {

// Where a file's navigation bars go: offsets into its text, -1 until known.
struct THTMLPageOption {
  long long TopPosition = -1;
  long long BottomPosition = -1;
};

class TVantrix3HTML : public TVantrix3FormatText {
 public:
  // Header and footer of one "<br>", the Classic template.
  TVantrix3HTML();

  TUsingCSS UsingCSS = usInternal;
  std::string CSSFileName;
  bool OverwriteCSSFile = true;
  TTableOptions TableOptions;
  THTMLOptions HTMLOptions;
  TVantrixHTMLNavigation Navigation;
  bool GenerateIndex = false;
  bool BoolAsCheckBox = false;
  // Special characters as entities; off, the texts go out as they are (they may hold tags).
  bool InterpretTags = true;

  int MaxRecords() const { return maxRecords_; }
  void SetMaxRecords(int records) { maxRecords_ = records < 0 ? 0 : records; }
  THTMLTemplate HTMLTemplate() const { return template_; }
  // A new template other than htCustom sets its colours and font; a colour changed on its own
  // leaves the template as it was.
  void SetHTMLTemplate(THTMLTemplate value);
  void SetTableOptions(const TTableOptions& options) { TableOptions.Assign(options); }
  void SetHTMLOptions(const THTMLOptions& options) { HTMLOptions.Assign(options); }
  void SetNavigation(const TVantrixHTMLNavigation& navigation) { Navigation.Assign(navigation); }
  void SaveTemplateToFile(const std::string& path) const { SaveHTMLTemplateToFile(path, HTMLOptions, TableOptions); }
  void LoadTemplateFromFile(const std::string& path) { LoadHTMLTemplateFromFile(path, HTMLOptions, TableOptions); }

  TVantrixRunResult Execute() override;
  const TStrings* OwnerColumnsAlign() const override { return &ColumnsAlign; }
  void NormalString(std::string& text) const override;

  // The numbered files the last run wrote, in order.
  const std::vector<std::string>& NumberedFiles() const { return numberedFiles_; }

 protected:
  std::unique_ptr<TVantrixWriter> CreateWriter(OutputStream& stream) override;
  void BeginExport() override;
  void AfterExport() override;
  void EndExport() override;
  void WriteDataRow() override;
  void GetColData(const TVantrixCol& col, std::string& text) override;
  std::string GetShowedFileName() const override;
  TStrings FilesRead() const override;
  std::string GetPrintedFileName() const override { return GetShowedFileName(); }

 private:
  // The writer's output: the run's stream, or the text of the numbered file being built.
  class Router : public OutputStream {
   public:
    using OutputStream::Write;
    void Write(const char* data, size_t size) override {
      if (buffer_ != nullptr) buffer_->append(data, size);
      else target_->Write(data, size);
    }
    OutputStream* target_ = nullptr;
    std::string* buffer_ = nullptr;
  };
  struct Page {
    std::string name, text;
    THTMLPageOption option;
  };

  TVantrixHTMLWriter& Writer() const { return *static_cast<TVantrixHTMLWriter*>(GetWriter()); }
  bool MultiFile() const { return maxRecords_ > 0 && fileOutput_; }
  void WritePageHeader(const std::string& fileName, Page* page);
  void WriteStyleSheet(const std::string& pageFileName);
  // The style sheet a page links: CSSFileName, or the page's name ending in ".css".
  std::string SheetFileName(const std::string& pageFileName) const;
  // An existing sheet is kept as it is unless OverwriteCSSFile says to write it anew.
  bool KeepsSheet(const std::string& sheet) const;
  void OpenPage();
  void ClosePage();
  void WriteFiles();
  void DoGenerateIndex();

  int maxRecords_ = 0;
  THTMLTemplate template_ = htCustom;
  bool fileOutput_ = false;  // inside Execute: the output is the file FileName
  Router router_;
  TStrings styleSheet_;
  bool borderFlag_ = false;
  bool pageOpen_ = false, anyPage_ = false;
  int rowsInPage_ = 0;
  bool rowIsOdd_ = false;
  std::vector<Page> pages_;
  std::vector<std::string> numberedFiles_;
  std::set<std::string> sheetsWritten_;
  std::string cell_, built_;
};

}  // namespace vantrix
