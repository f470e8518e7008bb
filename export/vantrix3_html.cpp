#include "export/vantrix3_html.h"

#include <filesystem>
#include <system_error>

#include "export/columns.h"
#include "export/common_text.h"
#include "export/row.h"
#include "platform/cp1252.h"
#include "platform/cp1252_case.h"

namespace vantrix {
namespace {

bool FileExists(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::exists(path, error);
}

void AddFontLines(TStrings& lines, const THTMLOptions& html, int indent) {
  const std::string pad(static_cast<size_t>(indent), ' ');
  // A name with nothing a font name holds leaves the font to the browser.
  const std::string family = CSSFontFamily(html.TextFont.name);
  if (!html.DefaultOptions.test(doFontName) && !family.empty()) lines.push_back(pad + "font-family: " + family + ";");
  if (!html.DefaultOptions.test(doFontSize))
    lines.push_back(pad + "font-size: " + std::to_string(html.TextFont.size) + "pt;");
}

void WriteTextFile(const std::string& path, const std::string& text) {
  FileOutputStream file(path);
  file.Write(text);
  file.Commit();
}

}  // namespace

TVantrix3HTML::TVantrix3HTML() {
  Header = {"<br>"};
  Footer = {"<br>"};
  SetHTMLTemplate(htClassic);
}

void TVantrix3HTML::SetHTMLTemplate(THTMLTemplate value) {
  if (value == template_) return;
  template_ = value;
  ApplyHTMLTemplate(value, HTMLOptions, TableOptions);
}

void TVantrix3HTML::NormalString(std::string& text) const {
  if (text.find_first_of(InterpretTags ? "\"&<>\r\n" : "\r\n") == std::string::npos) return;
  std::string out;
  out.reserve(text.size() + 16);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      // CR LF, or a CR or LF alone: one line break each.
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += "<br>";
    } else if (InterpretTags) {
      AppendHTMLEscaped(out, std::string_view(&text[i], 1));
    } else {
      out.push_back(c);
    }
  }
  text = std::move(out);
}

std::unique_ptr<TVantrixWriter> TVantrix3HTML::CreateWriter(OutputStream& stream) {
  router_.target_ = &stream;
  router_.buffer_ = nullptr;
  return std::make_unique<TVantrixHTMLWriter>(*this, router_);
}

TVantrixRunResult TVantrix3HTML::Execute() {
  // The style sheet is written with the first page: a file the run reads is refused before.
  if (UsingCSS == usExternal && !FileName.empty() && !KeepsSheet(SheetFileName(FileName)))
    RefuseFileRead(SheetFileName(FileName));
  fileOutput_ = true;
  try {
    const TVantrixRunResult result = TVantrix3FormatText::Execute();
    fileOutput_ = false;
    return result;
  } catch (...) {
    fileOutput_ = false;
    throw;
  }
}

void TVantrix3HTML::BeginExport() {
  TVantrix3FormatText::BeginExport();
  pages_.clear();
  numberedFiles_.clear();
  sheetsWritten_.clear();
  pageOpen_ = anyPage_ = false;
  rowsInPage_ = 0;
  styleSheet_.clear();

  const bool tableBackground = FileExists(TableOptions.BackgroundFileName);
  TStrings& s = styleSheet_;
  s.push_back("  BODY { background: " + HTMLColor(HTMLOptions.BackgroundColor) + ";" +
              " color: " + HTMLColor(HTMLOptions.TextFont.color) + ";");
  AddFontLines(s, HTMLOptions, 9);
  // Unquoted in url(), a quote, a parenthesis or a backslash would end or escape the name.
  if (!HTMLOptions.BackgroundFileName.empty())
    s.push_back("background-image: url(" + URLReference(HTMLOptions.BackgroundFileName, "'()\\") + ")");
  s.push_back("  }");
  s.push_back("  A:link { color: " + HTMLColor(HTMLOptions.LinkColor) + " }");
  s.push_back("  A:visited { color: " + HTMLColor(HTMLOptions.VLinkColor) + " }");
  s.push_back("  A:active { color: " + HTMLColor(HTMLOptions.ALinkColor) + " }");
  borderFlag_ = TableOptions.BorderColor != 0xFFFFFF;
  auto rowClass = [&](const std::string& opening, uint32_t background, uint32_t color, bool caption) {
    s.push_back(opening);
    if (!tableBackground) s.push_back("            background-color: " + HTMLColor(background) + ";");
    s.push_back("            color: " + HTMLColor(color) + ";");
    if (caption) s.push_back("            font-weight: bold; text-align: center;");
    AddFontLines(s, HTMLOptions, 12);
    s.push_back("  }");
  };
  if (AllowCaptions) rowClass("  .ThRows { ", TableOptions.HeadersRowBgColor, TableOptions.HeadersRowFontColor, true);
  rowClass("  .TrRows {", TableOptions.TableBgColor, TableOptions.TableFontColor, false);
  rowClass("  .TrOdd  {", TableOptions.OddRowBgColor, TableOptions.TableFontColor, false);
  if (borderFlag_) s.push_back("  .TrBC { background-color: " + HTMLColor(TableOptions.BorderColor) + " }");
}

void TVantrix3HTML::WriteStyleSheet(const std::string& pageFileName) {
  TVantrixHTMLWriter& w = Writer();
  if (UsingCSS == usInternal) {
    w.StartSTYLE();
    for (const std::string& line : styleSheet_) w.WriteLn(line);
    w.EndSTYLE();
    return;
  }
  if (!fileOutput_) return;
  namespace fs = std::filesystem;
  const std::string sheet = SheetFileName(pageFileName);
  // Beside the page, the link names the sheet alone, so the pages can be moved together.
  const fs::path sheetPath(sheet);
  const bool beside = sheetPath.parent_path() == fs::path(pageFileName).parent_path();
  w.WriteCSSLink(beside ? sheetPath.filename().string() : sheet);
  if (sheetsWritten_.count(sheet) > 0 || KeepsSheet(sheet)) return;
  std::string text;
  for (const std::string& line : styleSheet_) text += line + "\r\n";
  RefuseFileRead(sheet);
  WriteTextFile(sheet, text);
  sheetsWritten_.insert(sheet);
}

std::string TVantrix3HTML::SheetFileName(const std::string& pageFileName) const {
  if (!CSSFileName.empty()) return CSSFileName;
  return std::filesystem::path(pageFileName).replace_extension(".css").string();
}

bool TVantrix3HTML::KeepsSheet(const std::string& sheet) const { return FileExists(sheet) && !OverwriteCSSFile; }

TStrings TVantrix3HTML::FilesRead() const {
  TStrings files = TVantrix3FormatText::FilesRead();
  // A style sheet of the user's, kept as it is, is what the pages use: none is written over it.
  if (UsingCSS == usExternal && !CSSFileName.empty() && KeepsSheet(CSSFileName)) files.push_back(CSSFileName);
  return files;
}

void TVantrix3HTML::WritePageHeader(const std::string& fileName, Page* page) {
  TVantrixHTMLWriter& w = Writer();
  w.StartHTML();
  w.StartHEAD();
  w.WriteCharset();
  w.WriteTITLE(Title);
  WriteStyleSheet(fileName);
  w.EndHEAD();
  w.StartBODY();
  if (page != nullptr) page->option.TopPosition = static_cast<long long>(page->text.size());
  for (const std::string& line : Header) w.WriteLn(line);
}

void TVantrix3HTML::OpenPage() {
  Page* page = nullptr;
  std::string name = FileName;
  if (MultiFile()) {
    pages_.push_back({AddNumberToFileName(FileName, static_cast<int>(pages_.size()) + 1, 2), {}, {}});
    page = &pages_.back();
    name = page->name;
    router_.buffer_ = &page->text;
  }
  pageOpen_ = anyPage_ = true;
  rowsInPage_ = 0;
  WritePageHeader(name, page);
  TVantrixHTMLWriter& w = Writer();
  if (borderFlag_) {
    w.WriteLn("<Table cellspacing=0 cellpadding=0 class=\"TrBC\">");
    w.WriteLn("<tr><td>");
  }
  // The form holds the whole table: opened inside it and closed before it, it would not nest.
  if (BoolAsCheckBox) w.StartFORM();
  w.WriteTABLE(TableOptions.Border, TableOptions.CellPadding, TableOptions.CellSpacing, TableOptions.BackgroundFileName);
  if (AllowCaptions) {
    w.WriteLn("  <tr>");
    for (int i = 0; i < Columns().Count(); ++i) w.WriteCaptionRowTD(GetColCaption(i));
    w.WriteLn("  </tr>");
  }
}

void TVantrix3HTML::ClosePage() {
  TVantrixHTMLWriter& w = Writer();
  w.EndTABLE();
  if (BoolAsCheckBox) w.EndFORM();
  if (borderFlag_) {
    w.WriteLn("</td></tr>");
    w.EndTABLE();
  }
  for (const std::string& line : Footer) w.WriteLn(line);
  if (router_.buffer_ != nullptr && !pages_.empty())
    pages_.back().option.BottomPosition = static_cast<long long>(pages_.back().text.size());
  w.EndBODY();
  w.EndHTML();
  pageOpen_ = false;
}

void TVantrix3HTML::WriteDataRow() {
  if (!pageOpen_ || (MultiFile() && rowsInPage_ >= maxRecords_)) {
    if (pageOpen_) ClosePage();
    OpenPage();
  }
  ++rowsInPage_;
  rowIsOdd_ = rowsInPage_ % 2 == 1;
  TVantrixHTMLWriter& w = Writer();
  w.WriteLn("  <tr>");
  for (int i = 0; i < Row().Count(); ++i) {
    Row()[i].GetExportedValue(true, cell_);
    if (rowIsOdd_) w.WriteOddRowTD(cell_);
    else w.WriteEvenRowTD(cell_);
  }
  w.WriteLn("  </tr>");
}

void TVantrix3HTML::GetColData(const TVantrixCol& col, std::string& text) {
  const TVantrixColumn& column = Columns()[col.ColumnIndex()];
  if (BoolAsCheckBox && column.ColType == ectBoolean) {
    if (platform::Cp1252SameText(text, Formats().BooleanFalse())) text = "<Input type=\"checkbox\"/>";
    else if (platform::Cp1252SameText(text, Formats().BooleanTrue())) text = "<Input type=\"checkbox\" checked=\"\"/>";
  }
  if (text.empty()) text = "&nbsp;";
  const uint32_t rowColor = rowIsOdd_ ? TableOptions.OddRowBgColor : TableOptions.TableBgColor;
  const TVantrixFont& base = HTMLOptions.TextFont;
  TVantrixFont font = base;
  TVantrixColAlign align = column.Align;
  uint32_t background = rowColor;
  GetCellParams(RecordCounter(), col.ColumnIndex(), text, align, font, background);
  built_.clear();
  built_ += " align=";
  built_ += Writer().AlignToStr(align);
  std::string style;
  auto declare = [&style](const std::string& declaration) { style += declaration + " "; };
  if (background != rowColor) declare("background-color: " + HTMLColor(background) + ";");
  if (font.name != base.name) {
    const std::string family = CSSFontFamily(font.name);
    if (!family.empty() && family != CSSFontFamily(base.name)) declare("font-family: " + family + ";");
  }
  if (font.size != base.size) declare("font-size: " + std::to_string(font.size) + "pt;");
  if (font.color != base.color) declare("color: " + HTMLColor(font.color) + ";");
  auto flag = [&](TFontStyle which, const char* property, const char* on, const char* off) {
    if (font.HasStyle(which) != base.HasStyle(which))
      declare(std::string(property) + ": " + (font.HasStyle(which) ? on : off) + ";");
  };
  flag(fsBold, "font-weight", "bold", "normal");
  flag(fsItalic, "font-style", "italic", "normal");
  flag(fsUnderline, "text-decoration", "underline", "none");
  if (!style.empty()) {
    style.resize(style.size() - 2);
    built_ += " style=\"" + HTMLEscaped(style) + "\"";
  }
  built_ += ">";
  built_ += text;
  text.swap(built_);
}

void TVantrix3HTML::AfterExport() {
  if (pageOpen_) {
    ClosePage();
    return;
  }
  if (anyPage_) return;
  // Nothing written: still a whole page, with header and footer and no table.
  router_.buffer_ = nullptr;
  WritePageHeader(FileName, nullptr);
  for (const std::string& line : Footer) Writer().WriteLn(line);
  Writer().EndBODY();
  Writer().EndHTML();
  anyPage_ = true;
}

void TVantrix3HTML::WriteFiles() {
  const int count = static_cast<int>(pages_.size());
  const bool bars = count > 1 && (Navigation.OnTop || Navigation.OnBottom);
  for (int i = 0; i < count; ++i) {
    Page& page = pages_[static_cast<size_t>(i)];
    std::string text;
    if (!bars) {
      text.swap(page.text);
    } else {
      auto bar = [&](bool top) {
        std::string out;
        for (const std::string& line :
             TVantrixHTMLWriter::LocationLinks(Navigation, FileName, count, i + 1, top, GenerateIndex))
          out += line + "\r\n";
        return out;
      };
      const size_t top = page.option.TopPosition < 0 ? 0 : static_cast<size_t>(page.option.TopPosition);
      const size_t bottom =
          page.option.BottomPosition < 0 ? page.text.size() : static_cast<size_t>(page.option.BottomPosition);
      text = page.text.substr(0, top);
      if (Navigation.OnTop) text += bar(true);
      text += page.text.substr(top, bottom - top);
      if (Navigation.OnBottom) text += bar(false);
      text += page.text.substr(bottom);
      page.text.clear();
    }
    RefuseFileRead(page.name);
    WriteTextFile(page.name, text);
    numberedFiles_.push_back(page.name);
  }
}

void TVantrix3HTML::DoGenerateIndex() {
  TVantrixHTMLWriter& w = Writer();
  w.StartHTML();
  w.StartHEAD();
  w.WriteCharset();
  w.WriteTITLE(Title);
  if (UsingCSS == usExternal) {
    if (!CSSFileName.empty()) w.WriteCSSLink(CSSFileName);
  } else {
    WriteStyleSheet(FileName);
  }
  w.EndHEAD();
  w.StartBODY();
  w.StartUL();
  namespace fs = std::filesystem;
  const fs::path base(FileName);
  const std::string stem = base.stem().string(), extension = base.extension().string();
  for (size_t i = 1; i <= pages_.size(); ++i) {
    const std::string target = stem + (i < 10 ? "0" : "") + std::to_string(i) + extension;
    std::string text = Navigation.IndexLinkTemplate + (i < 10 ? "0" : "") + std::to_string(i);
    // A name shown is text of the page, in its code page; the link keeps the file's spelling.
    if (Navigation.IndexLinkTemplate.empty())
      text = platform::ExternalTextToCp1252(target);
    w.LI();
    w.WriteLn("<a href=\"" + HTMLEscaped(URLReference(target)) + "\">" + HTMLEscaped(text) + "</a>");
  }
  w.EndUL();
  w.EndBODY();
  w.EndHTML();
}

void TVantrix3HTML::EndExport() {
  if (pageOpen_) ClosePage();  // a run that failed still leaves whole pages
  router_.buffer_ = nullptr;
  if (MultiFile()) {
    WriteFiles();
    if (GenerateIndex && !pages_.empty()) DoGenerateIndex();
  }
  TVantrix3FormatText::EndExport();
}

std::string TVantrix3HTML::GetShowedFileName() const {
  if (maxRecords_ > 0 && !GenerateIndex) {
    const std::string first = AddNumberToFileName(FileName, 1, 2);
    if (FileExists(first)) return first;
  }
  return FileName;
}

}  // namespace vantrix
