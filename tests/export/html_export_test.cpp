// The HTML exporter: pages opened at the first row written and closed once, multi-file
// exports with their bars and index, escaping and line breaks, per-cell styles, check boxes,
// colours and the template files; file names written as references a browser follows.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "document_fixtures.h"
#include "export/html_writer.h"
#include "export/model_source.h"
#include "export/vantrix3_html.h"
#include "tests/devconfig/tool_output.h"

namespace {

using namespace vantrix;
using exporttest::Count;
using exporttest::TextSource;

// Rows of the table: "  <tr>" lines, the caption row among them when there is one.
size_t Rows(const std::string& page) { return Count(page, "  <tr>\r\n"); }

TEST(HtmlExport, AWholePageWithStyleCharsetAndEscapedTitle) {
  TextSource source({"A&B", "C"}, {{"x<y>", ""}});
  TVantrix3HTML html;
  html.Title = "R&D <1>";
  const std::string out = exporttest::Export(html, source);
  EXPECT_EQ(out.substr(0, 8), "<HTML>\r\n");
  EXPECT_NE(out.find("<HEAD>\r\n <META http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">\r\n"
                     " <Title>R&amp;D &lt;1&gt;</Title>\r\n<Style type=\"text/css\">\r\n"
                     "  BODY { background: #333399; color: #ffffff;\r\n         font-family: Arial;\r\n  }\r\n"),
            std::string::npos);
  EXPECT_NE(out.find("  .ThRows { \r\n            background-color: #ff0000;\r\n            color: #ffffff;\r\n"
                     "            font-weight: bold; text-align: center;\r\n            font-family: Arial;\r\n  }"),
            std::string::npos);
  EXPECT_NE(out.find("<BODY>\r\n<br>\r\n<Table Border=\"1\" Cellpadding=\"4\" Cellspacing=\"1\">\r\n  <tr>\r\n"
                     "    <td class=\"ThRows\">A&amp;B</td>\r\n"),
            std::string::npos);
  EXPECT_NE(out.find("    <td class=\"TrOdd\" align=Left>x&lt;y&gt;</td>\r\n    <td class=\"TrOdd\" align=Left>&nbsp;</td>"),
            std::string::npos);
  EXPECT_EQ(out.substr(out.size() - 43), "  </tr>\r\n</Table>\r\n<br>\r\n</BODY>\r\n</HTML>\r\n");
  EXPECT_EQ(Count(out, "<HTML>"), 1u);
}

TEST(HtmlExport, TagsInterpretedOrNotAndOneBreakPerLineBreak) {
  TextSource source({"A"}, {{"a & b\r\nc\nd\re"}});
  TVantrix3HTML html;
  html.AllowCaptions = false;
  std::string out = exporttest::Export(html, source);
  EXPECT_NE(out.find(">a &amp; b<br>c<br>d<br>e</td>"), std::string::npos);
  html.InterpretTags = false;
  out = exporttest::Export(html, source);
  EXPECT_NE(out.find(">a & b<br>c<br>d<br>e</td>"), std::string::npos);
}

TEST(HtmlExport, RefusedRowsNeverLeaveRowsOutsideThePage) {
  TextSource source({"A"}, exporttest::NumberedRows(4, 1));
  TVantrix3HTML html;
  html.OnBeforeExportRow = [](TVantrix3& sender, TVantrixRow&, bool& accept) { accept = sender.RecordCounter() != 0; };
  std::string out = exporttest::Export(html, source);
  EXPECT_EQ(out.substr(0, 8), "<HTML>\r\n");
  EXPECT_EQ(Rows(out), 4u);  // captions and three records
  EXPECT_NE(out.find("    <td class=\"TrOdd\" align=Left>r1c0</td>"), std::string::npos);  // the first written is odd

  html.OnBeforeExportRow = [](TVantrix3&, TVantrixRow&, bool& accept) { accept = false; };
  out = exporttest::Export(html, source);
  EXPECT_EQ(Count(out, "<HTML>"), 1u);
  EXPECT_EQ(Count(out, "</HTML>"), 1u);
  EXPECT_EQ(Count(out, "Table"), 0u);
  EXPECT_NE(out.find("<BODY>\r\n<br>\r\n<br>\r\n</BODY>\r\n</HTML>\r\n"), std::string::npos);
}

TEST(HtmlExport, AnEmptySourceGetsAPageWithHeaderAndFooterAndNoTable) {
  exporttest::TableModel model({"A"}, {});
  TVantrixModelSource source(&model);
  TVantrix3HTML html;
  html.Header = {"<h1>Top</h1>"};
  html.SetExportSource(esDataSet);
  html.SetDataSet(&source);
  MemoryOutputStream out;
  html.ExportToStream(out);
  EXPECT_EQ(Count(out.Bytes(), "<HTML>"), 1u);
  EXPECT_EQ(Count(out.Bytes(), "Table"), 0u);
  EXPECT_NE(out.Bytes().find("<BODY>\r\n<h1>Top</h1>\r\n<br>\r\n</BODY>"), std::string::npos);
}

TEST(HtmlExport, CellParamsBecomeInlineStylesAndBooleansCheckBoxes) {
  TextSource source({"A", "B"}, {{"true", "x"}, {"FALSE", "y"}}, 10, {ectBoolean, ectString});
  TVantrix3HTML html;
  html.BoolAsCheckBox = true;
  html.TableOptions.BorderColor = 0x808080;
  html.OnGetCellParams = [](TVantrix3&, int, int col, const std::string&, TVantrixColAlign& align, TVantrixFont& font,
                            uint32_t& background) {
    align = ecaCenter;
    if (col == 1) {
      background = 0x00FFFF;
      EditFontStyle(font, fsBold, true);
      font.size = 12;
    }
  };
  const std::string out = exporttest::Export(html, source);
  EXPECT_NE(out.find("<td class=\"TrOdd\" align=Center><Input type=\"checkbox\" checked=\"\"/></td>"), std::string::npos);
  EXPECT_NE(out.find("<td class=\"TrRows\" align=Center><Input type=\"checkbox\"/></td>"), std::string::npos);
  EXPECT_NE(out.find("<td class=\"TrOdd\" align=Center style=\"background-color: #ffff00; font-size: 12pt; "
                     "font-weight: bold\">x</td>"),
            std::string::npos);
  // The form holds the table, and the border table is closed after it.
  EXPECT_NE(out.find("<Table cellspacing=0 cellpadding=0 class=\"TrBC\">\r\n<tr><td>\r\n<Form>\r\n<Table Border"),
            std::string::npos);
  EXPECT_NE(out.find("</Table>\r\n</Form>\r\n</td></tr>\r\n</Table>\r\n<br>\r\n</BODY>"), std::string::npos);
  EXPECT_NE(out.find("  .TrBC { background-color: #808080 }"), std::string::npos);
}

TEST(HtmlExport, MultiFileExportWritesNumberedFilesWithBars) {
  exporttest::TempFolder folder;
  TextSource source({"A"}, exporttest::NumberedRows(25, 1));
  TVantrix3HTML html;
  html.SetMaxRecords(10);
  html.FileName = folder / "out.html";
  html.Formats().SetSettings(exporttest::CSettings());
  html.SetExportSource(esCustom);
  html.SetCustomSource(&source);
  EXPECT_EQ(html.Execute(), rrCompleted);
  ASSERT_EQ(html.NumberedFiles().size(), 3u);
  const std::string files[] = {exporttest::ReadFile(folder / "out01.html"), exporttest::ReadFile(folder / "out02.html"),
                               exporttest::ReadFile(folder / "out03.html")};
  EXPECT_EQ(Rows(files[0]) - 1, 10u + 2u);  // ten rows, the caption row, the two bars
  EXPECT_EQ(Rows(files[1]) - 1, 12u);
  EXPECT_EQ(Rows(files[2]) - 1, 5u + 2u);
  for (const std::string& file : files) {
    EXPECT_EQ(Count(file, "<td class=\"ThRows\">A</td>"), 1u);
    EXPECT_EQ(Count(file, "<HTML>"), 1u);
  }
  EXPECT_NE(files[1].find("<BODY>\r\n<Table Border=\"0\" Cellpadding=\"4\" Cellspacing=\"1\">\r\n  <tr>\r\n"
                          "    <td><a href=\"out01.html\">First</a></td>\r\n    <td><a href=\"out01.html\">Prior</a></td>\r\n"
                          "    <td><a href=\"out01.html\">01</a></td>\r\n    <td><b>02</b></td>\r\n"
                          "    <td><a href=\"out03.html\">03</a></td>\r\n    <td><a href=\"out03.html\">Next</a></td>\r\n"
                          "    <td><a href=\"out03.html\">Last</a></td>\r\n  </tr>\r\n</Table>\r\n<br>\r\n<br>\r\n<Table"),
            std::string::npos);
  EXPECT_NE(files[0].find("<a href=\"out03.html\">Prior</a>"), std::string::npos);
  EXPECT_NE(files[2].find("<a href=\"out01.html\">Next</a>"), std::string::npos);
  // The bottom bar follows the footer.
  EXPECT_NE(files[2].find("</Table>\r\n<br>\r\n<br>\r\n<Table Border=\"0\""), std::string::npos);
  EXPECT_EQ(files[2].substr(files[2].size() - 28), "</Table>\r\n</BODY>\r\n</HTML>\r\n");
  EXPECT_EQ(exporttest::ReadFile(folder / "out.html"), "");

  html.GenerateIndex = true;
  html.Navigation.IndexLinkTemplate = "Part ";
  source.ClearEof();
  html.Execute();
  const std::string index = exporttest::ReadFile(folder / "out.html");
  EXPECT_NE(index.find("<UL>\r\n<LI>\r\n<a href=\"out01.html\">Part 01</a>\r\n<LI>"), std::string::npos);
  EXPECT_EQ(Count(index, "<LI>"), 3u);
  EXPECT_NE(exporttest::ReadFile(folder / "out02.html").find("<td><a href=\"out.html\">Index</a></td>"),
            std::string::npos);
}

// The navigation's titles are text, as the page's title is: titles that would close the link
// or open a script are shown as typed, and xmllint reads every page without a complaint.
TEST(HtmlExport, NavigationTitlesAreEscapedLikeThePageTitle) {
  exporttest::TempFolder folder;
  TextSource source({"A"}, exporttest::NumberedRows(5, 1));
  TVantrix3HTML html;
  html.SetMaxRecords(2);
  html.GenerateIndex = true;
  const std::string script = "</a><script>1</script>";
  html.Navigation.IndexLinkTitle = "Index & <b>";
  html.Navigation.FirstLinkTitle = script;
  html.Navigation.PriorLinkTitle = "\"<";
  html.Navigation.NextLinkTitle = "<!--";
  html.Navigation.LastLinkTitle = "</td></tr></Table>";
  html.FileName = folder / "nav.html";
  html.SetExportSource(esCustom);
  html.SetCustomSource(&source);
  ASSERT_EQ(html.Execute(), rrCompleted);
  for (const std::string name : {"nav01.html", "nav02.html", "nav03.html"}) {
    const std::string page = exporttest::ReadFile(folder / name);
    EXPECT_NE(page.find(">&lt;/a&gt;&lt;script&gt;1&lt;/script&gt;</a></td>"), std::string::npos) << name;
    EXPECT_NE(page.find(">Index &amp; &lt;b&gt;</a></td>"), std::string::npos) << name;
    EXPECT_NE(page.find(">&quot;&lt;</a></td>"), std::string::npos) << name;
    EXPECT_EQ(page.find("<script>"), std::string::npos) << name;
    EXPECT_EQ(page.find("<!--"), std::string::npos) << name;
    const devconfigtest::ToolOutput lint =
        devconfigtest::RunTool("xmllint --html --noout " + devconfigtest::Quoted(folder / name) + " 2>&1");
    EXPECT_EQ(lint.exitCode, 0) << name;
    EXPECT_EQ(lint.out, "") << name;
  }
}

TEST(HtmlExport, OneFileOfAMultiFileExportGetsNoBars) {
  exporttest::TempFolder folder;
  TextSource source({"A"}, exporttest::NumberedRows(3, 1));
  TVantrix3HTML html;
  html.SetMaxRecords(-5);
  EXPECT_EQ(html.MaxRecords(), 0);
  html.SetMaxRecords(10);
  html.FileName = folder / "one.htm";
  html.SetExportSource(esCustom);
  html.SetCustomSource(&source);
  html.Execute();
  EXPECT_EQ(Count(exporttest::ReadFile(folder / "one01.htm"), "Cellpadding=\"4\""), 1u);
}

TEST(HtmlExport, ExternalStyleSheetBesideThePage) {
  exporttest::TempFolder folder;
  TextSource source({"A"}, {{"x"}});
  TVantrix3HTML html;
  html.UsingCSS = usExternal;
  html.FileName = folder / "page.html";
  html.SetExportSource(esCustom);
  html.SetCustomSource(&source);
  html.Execute();
  EXPECT_NE(exporttest::ReadFile(folder / "page.html").find("<link rel=\"stylesheet\" type=\"text/css\" href=\"page.css\">"),
            std::string::npos);
  EXPECT_EQ(exporttest::ReadFile(folder / "page.css").substr(0, 21), "  BODY { background: ");
}

// No file of the run goes over a file it reads, by whatever name it is given: the style sheet
// named as the options file (by a hard link, a symbolic link, a path through ".."), the page
// named so, a numbered page, or the page over a style sheet kept as it is. Each is refused
// before anything is written, and the file read stays as it was.
TEST(HtmlExport, NoFileOfTheRunGoesOverAFileItReads) {
  exporttest::TempFolder folder;
  const std::string options = folder / "export.cfg", options2 = folder / "again.cfg", link = folder / "link.cfg";
  exporttest::WriteFile(options, "[HTML]\r\nCSS=1\r\n");
  ASSERT_EQ(::link(options.c_str(), options2.c_str()), 0);
  ASSERT_EQ(symlink(options.c_str(), link.c_str()), 0);
  TextSource source({"A"}, exporttest::NumberedRows(25, 1));
  TVantrix3HTML html;
  html.SetExportSource(esCustom);
  html.SetCustomSource(&source);
  html.ReadFiles = {options};
  html.UsingCSS = usExternal;
  html.FileName = folder / "page.html";
  const auto refused = [&](const std::string& written, const std::string& read) {
    source.ClearEof();
    return exporttest::ErrorMessage([&] { html.Execute(); }) ==
           "Cannot write the file \"" + written + "\": it is \"" + read + "\", a file this export reads";
  };
  for (const std::string& sheet : {options, options2, link, folder.Path() + "/../" + std::filesystem::path(folder.Path()).filename().string() + "/export.cfg"}) {
    html.CSSFileName = sheet;
    EXPECT_TRUE(refused(sheet, options)) << sheet;
  }
  html.CSSFileName.clear();
  html.FileName = options2;
  EXPECT_TRUE(refused(options2, options));
  html.FileName = folder / "export.html";  // its second page is export02.html
  html.SetMaxRecords(10);
  ASSERT_EQ(symlink(options.c_str(), (folder / "export02.html").c_str()), 0);
  html.ReadFiles = {folder / "export02.html"};
  EXPECT_TRUE(refused(folder / "export02.html", folder / "export02.html"));
  EXPECT_EQ(exporttest::ReadFile(options), "[HTML]\r\nCSS=1\r\n");
  EXPECT_FALSE(std::filesystem::exists(folder / "page.html"));

  // A sheet kept as it is, named by the page by another name.
  html.SetMaxRecords(0);
  html.ReadFiles.clear();
  html.CSSFileName = options;
  html.OverwriteCSSFile = false;
  html.FileName = link;
  EXPECT_TRUE(refused(link, options));
  EXPECT_EQ(exporttest::ReadFile(options), "[HTML]\r\nCSS=1\r\n");
}

TEST(HtmlFileReference, EncodesWhatAReaderWouldMisreadAndLeavesPlainNamesAlone) {
  // Plain names, folders and the characters a reference may hold stay as they are.
  for (const char* plain : {"out01.html", "/tmp/a-b_c.d/e~f+g=h,i;j@k!l$m*n'(1)&x.css", "../up/[x]{y}|z.png"})
    EXPECT_EQ(URLReference(plain), plain);
  EXPECT_EQ(URLReference(""), "");
  // Every byte of a UTF-8 letter, upper-case hex.
  EXPECT_EQ(URLReference("\xC3\x81rea/relat\xC3\xB3rio.html"), "%C3%81rea/relat%C3%B3rio.html");
  EXPECT_EQ(URLReference("\xE2\x82\xAC\xFF"), "%E2%82%AC%FF");
  // What would end the attribute, the reference or the path, and control bytes.
  EXPECT_EQ(URLReference("a b\"c%d#e?f<g>h"), "a%20b%22c%25d%23e%3Ff%3Cg%3Eh");
  EXPECT_EQ(URLReference(std::string("\t\x1F\x7F\0z", 5)), "%09%1F%7F%00z");
  EXPECT_EQ(URLReference("100%20.html"), "100%2520.html");  // decodes back to the name, not "100 .html"
  // The caller's extra characters: those that end an unquoted url() in a style sheet.
  EXPECT_EQ(URLReference("c\xC3\xA9u (1)'\\.png", "'()\\"), "c%C3%A9u%20%281%29%27%5C.png");
  // In an attribute, HTML escaping takes what the reference leaves: the ampersand.
  std::string bar;
  for (const std::string& line : TVantrixHTMLWriter::LocationLinks({}, "/x/R&D \xC3\xA1.htm", 2, 1, true, true))
    bar += line + "\n";
  EXPECT_NE(bar.find("<a href=\"R&amp;D%20%C3%A101.htm\">"), std::string::npos);
  EXPECT_NE(bar.find("<a href=\"R&amp;D%20%C3%A1.htm\">"), std::string::npos);  // the index
}

// Follows every href, Background and url() of the pages and style sheets in `folder` the way
// a browser does (the page read in its code page, entities and percent-escapes decoded) and
// has xmllint read each page; prints what it could not follow and how many it followed.
constexpr const char* kFollowLinks = R"py(
import html, os, re, subprocess, sys, urllib.parse
folder = os.fsencode(sys.argv[1])
followed = 0
for name in sorted(os.listdir(folder)):
    path = os.path.join(folder, name)
    page = name.endswith(b'.html')
    if not page and not name.endswith(b'.css'):
        continue
    text = open(path, 'rb').read().decode('cp1252', errors='replace')
    if page:
        lint = subprocess.run(['xmllint', '--html', '--noout', path], capture_output=True)
        if lint.returncode or lint.stdout or lint.stderr:
            print('xmllint', name, lint.stdout + lint.stderr)
    refs = re.findall(r'(?:href|Background)="([^"]*)"', text) + re.findall(r'url\(([^)]*)\)', text)
    for ref in refs:
        followed += 1
        target = urllib.parse.unquote_to_bytes(html.unescape(ref) if page else ref)
        if not os.path.isfile(os.path.join(folder, target)):
            print('missing', name, ref)
print('followed', followed)
)py";

TEST(HtmlExport, AccentedFileNamesGiveLinksThatNameTheFiles) {
  namespace fs = std::filesystem;
  // The style sheet named after each page, or one sheet beside the pages with a name of its own.
  for (const std::string sheet : {"", "estilo \xC3\xA7.css"}) {
    SCOPED_TRACE(sheet);
    exporttest::TempFolder root;
    const std::string area = root / "\xC3\x81rea", pictures = root / "Imagens de fundo #1";
    fs::create_directory(area);
    fs::create_directory(pictures);
    const std::string body = pictures + "/c\xC3\xA9u (azul).png", table = pictures + "/mesa%20\xC3\xA7.png";
    exporttest::WriteFile(body, "png");
    exporttest::WriteFile(table, "png");
    TextSource source({"A"}, exporttest::NumberedRows(25, 1));
    TVantrix3HTML html;
    html.SetMaxRecords(10);
    html.GenerateIndex = true;
    html.UsingCSS = usExternal;
    if (!sheet.empty()) html.CSSFileName = area + "/" + sheet;
    html.HTMLOptions.BackgroundFileName = body;
    html.TableOptions.BackgroundFileName = table;
    html.FileName = area + "/relat\xC3\xB3rio.html";
    html.SetExportSource(esCustom);
    html.SetCustomSource(&source);
    ASSERT_EQ(html.Execute(), rrCompleted);

    const std::string page = exporttest::ReadFile(area + "/relat\xC3\xB3rio02.html");
    EXPECT_NE(page.find("<a href=\"relat%C3%B3rio03.html\">"), std::string::npos);
    EXPECT_NE(page.find(" Background=\"" + root.Path() + "/Imagens%20de%20fundo%20%231/mesa%2520%C3%A7.png\""),
              std::string::npos);
    // The index shows the names in the page's code page.
    EXPECT_NE(exporttest::ReadFile(html.FileName).find(">relat\xF3rio01.html</a>"), std::string::npos);

    const devconfigtest::ToolOutput check = devconfigtest::RunTool(
        "/usr/bin/python3 -c " + devconfigtest::Quoted(kFollowLinks) + " " + devconfigtest::Quoted(area));
    EXPECT_EQ(check.exitCode, 0);
    // Three pages of a link to the sheet, the table's picture and two bars of seven links; the
    // index's three links and its link to a named sheet; the body picture in each sheet.
    const int followed = 3 * (1 + 1 + 2 * 7) + 3 + (sheet.empty() ? 3 : 2);
    EXPECT_EQ(check.out, "followed " + std::to_string(followed) + "\n");
  }
}

TEST(HtmlExport, PlainFileNamesAreWrittenAsTheyAlwaysWere) {
  exporttest::TempFolder folder;
  exporttest::WriteFile(folder / "bg-1_x.png", "png");
  TextSource source({"A"}, {{"x"}});
  TVantrix3HTML html;
  html.HTMLOptions.BackgroundFileName = folder / "bg-1_x.png";
  html.TableOptions.BackgroundFileName = folder / "bg-1_x.png";
  html.UsingCSS = usExternal;
  html.CSSFileName = folder / "R&D.css";
  html.FileName = folder / "page.html";
  html.SetExportSource(esCustom);
  html.SetCustomSource(&source);
  html.Execute();
  const std::string page = exporttest::ReadFile(folder / "page.html");
  EXPECT_NE(page.find("<link rel=\"stylesheet\" type=\"text/css\" href=\"R&amp;D.css\">"), std::string::npos);
  EXPECT_NE(page.find("<Table Border=\"1\" Cellpadding=\"4\" Cellspacing=\"1\" Background=\"" + folder.Path() +
                      "/bg-1_x.png\">"),
            std::string::npos);
  EXPECT_NE(exporttest::ReadFile(folder / "R&D.css").find("background-image: url(" + folder.Path() + "/bg-1_x.png)"),
            std::string::npos);
}

TEST(HtmlOptions, TemplatesColoursAndTemplateFiles) {
  TVantrix3HTML html;
  EXPECT_EQ(html.HTMLTemplate(), htClassic);
  html.SetHTMLTemplate(htPlain);
  EXPECT_EQ(html.TableOptions.HeadersRowBgColor, 0xE68F06u);
  EXPECT_EQ(html.TableOptions.OddRowBgColor, 0xD9FCFFu);
  html.TableOptions.TableBgColor = 0x123456;  // one colour changed: the template stays
  EXPECT_EQ(html.HTMLTemplate(), htPlain);
  html.SetHTMLTemplate(htCustom);
  EXPECT_EQ(html.TableOptions.TableBgColor, 0x123456u);
  EXPECT_EQ(TemplateToStr(htBW), "Black&White");

  exporttest::TempFolder folder;
  html.TableOptions.BorderColor = 0x00FF00;
  html.HTMLOptions.TextFont.name = "Verdana";
  html.SaveTemplateToFile(folder / "mine.htf");
  TVantrix3HTML other;
  other.LoadTemplateFromFile(folder / "mine.htf");
  EXPECT_EQ(other.TableOptions.TableBgColor, 0x123456u);
  EXPECT_EQ(other.TableOptions.BorderColor, 0x00FF00u);
  EXPECT_EQ(other.HTMLOptions.TextFont.name, "Verdana");
  EXPECT_EQ(other.HTMLOptions.BackgroundColor, html.HTMLOptions.BackgroundColor);
  EXPECT_NE(exporttest::ReadFile(folder / "mine.htf").find("[Table options]\r\nHeader-bgcolor=15109894\r\n"),
            std::string::npos);

  EXPECT_EQ(HTMLColor(0x0000FF), "#ff0000");
  EXPECT_EQ(HTMLColor(0x000001), "#010000");
  EXPECT_EQ(HTMLColor(0x80000005), "#ffffff");  // the window colour, resolved
  EXPECT_EQ(HTMLColor(0x8000000D), "#3399ff");
}

// A font name from a template file (or an options file, or a cell's parameters) is written as
// a font name and nothing more: markup in it never reaches the page, and the style sheet keeps
// its rules. Names a style sheet takes as they are stay as they were.
TEST(HtmlExport, AFontNameCannotCloseTheStyleSheet) {
  exporttest::TempFolder folder;
  {
    std::ofstream file(folder / "evil.htf", std::ios::binary);
    file << "[HTML options]\r\nFont-family=Arial;}</style><script>alert(1)</script><style>{\r\n";
  }
  TextSource source({"A", "B"}, {{"1", "2"}});
  TVantrix3HTML html;
  html.LoadTemplateFromFile(folder / "evil.htf");
  ASSERT_EQ(html.HTMLOptions.TextFont.name, "Arial;}</style><script>alert(1)</script><style>{");
  html.OnGetCellParams = [](TVantrix3&, int, int col, const std::string&, TVantrixColAlign&, TVantrixFont& font,
                            uint32_t&) { font.name = col == 0 ? "x; color: red" : "1st Font"; };
  const std::string out = exporttest::Export(html, source);
  EXPECT_EQ(out.find("<script"), std::string::npos);
  EXPECT_EQ(Count(out, "<Style"), 1u);
  EXPECT_EQ(Count(out, "</STYLE>"), 1u);
  EXPECT_NE(out.find("  BODY { background: #333399; color: #ffffff;\r\n"
                     "         font-family: Arialstylescriptalert1scriptstyle;\r\n  }"),
            std::string::npos);
  EXPECT_NE(out.find("style=\"font-family: x color red\">1</td>"), std::string::npos);
  EXPECT_NE(out.find("style=\"font-family: &quot;1st Font&quot;\">2</td>"), std::string::npos);

  const struct {
    const char* name;
    const char* family;
  } names[] = {
      {"Arial", "Arial"},           {"  Times  New Roman ", "Times New Roman"}, {"sans-serif", "sans-serif"},
      {"Gill Sans MT_2", "Gill Sans MT_2"}, {"Fonte Bras\xEDlia", "Fonte Bras\xEDlia"}, {"-9 Font", "\"-9 Font\""},
      {"--x", "\"--x\""},             {"a\\62 c", "a62 c"},  {"\"Quoted\"", "Quoted"},  {";}<>", ""},
      {"\xD7\xF7\x81", ""},
  };
  for (const auto& n : names) EXPECT_EQ(CSSFontFamily(n.name), n.family) << n.name;
  // Nothing left of a name: the font is left to the browser.
  html.HTMLOptions.TextFont.name = "<>";
  html.OnGetCellParams = nullptr;
  EXPECT_EQ(exporttest::Export(html, source).find("font-family"), std::string::npos);
}

}  // namespace
