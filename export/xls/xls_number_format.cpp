#include "export/xls/xls_number_format.h"

#include <algorithm>
#include <string>

#include "export/format_settings.h"
#include "platform/cp1252_case.h"

namespace vantrix {
namespace {

// Characters a date format shows as they are; any other is escaped.
bool PlainInDateFormat(char c) {
  return c == ' ' || c == '-' || c == '.' || c == ',' || c == '/' || c == ':' || c == '(' || c == ')';
}

class DateFormatBuilder {
 public:
  explicit DateFormatBuilder(const FormatSettings& settings) : settings_(settings) {}

  void Convert(std::string_view p, int depth) {
    size_t i = 0;
    while (i < p.size()) {
      const char c = p[i];
      const char lower = static_cast<char>(platform::Cp1252FoldCase(static_cast<unsigned char>(c)));
      size_t run = 1;
      while (i + run < p.size() && platform::Cp1252FoldCase(static_cast<unsigned char>(p[i + run])) ==
                                       static_cast<unsigned char>(lower))
        ++run;
      if (c == '"' || c == '\'') {
        const size_t end = p.find(c, i + 1);
        const size_t stop = end == std::string_view::npos ? p.size() : end;
        Literal(p.substr(i + 1, stop - i - 1));
        i = end == std::string_view::npos ? p.size() : end + 1;
        continue;
      }
      if (StartsWithText(p.substr(i), "am/pm")) {
        Code("AM/PM");
        i += 5;
        continue;
      }
      if (StartsWithText(p.substr(i), "a/p")) {
        Code("A/P");
        i += 3;
        continue;
      }
      if (StartsWithText(p.substr(i), "ampm")) {
        Code("AM/PM");
        i += 4;
        continue;
      }
      switch (lower) {
        case 'c':
          Expand(settings_.shortDateFormat, depth);
          Code(" ");
          Expand(settings_.longTimeFormat, depth);
          i += 1;
          continue;
        case 'd':
          if (run == 5) Expand(settings_.shortDateFormat, depth);
          else if (run >= 6) Expand(settings_.longDateFormat, depth);
          else Code(std::string(run, 'd'));
          break;
        case 'y': Code(run <= 2 ? "yy" : "yyyy"); break;
        case 'm': Code(run >= 4 ? "mmmm" : std::string(run, 'm')); break;
        case 'h': Code(run == 1 ? "h" : "hh"); break;
        case 'n': Code(run == 1 ? "m" : "mm"); break;
        case 's': Code(run == 1 ? "s" : "ss"); break;
        case 'z': Code(run >= 3 ? "000" : "0"); break;
        case 't':
          if (run == 1) Expand(settings_.shortTimeFormat, depth);
          else Expand(settings_.longTimeFormat, depth);
          i += std::min<size_t>(run, 2);
          continue;
        case '/': Literal(std::string(run, settings_.dateSeparator)); break;
        case ':': Literal(std::string(run, settings_.timeSeparator)); break;
        default: Literal(p.substr(i, run)); break;
      }
      i += run;
    }
  }

  WideString Result() const { return out_.empty() ? WideString(u"General") : out_; }

 private:
  static bool StartsWithText(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && platform::Cp1252SameText(text.substr(0, prefix.size()), prefix);
  }

  void Expand(const std::string& picture, int depth) {
    if (depth < 3) Convert(picture, depth + 1);
  }

  void Code(std::string_view code) {
    for (const char c : code) out_.push_back(static_cast<char16_t>(c));
  }

  // Shown as it is: plain characters bare, one other escaped, a longer text quoted.
  void Literal(std::string_view text) {
    if (std::all_of(text.begin(), text.end(), PlainInDateFormat)) {
      out_ += Cp1252ToWide(text);
    } else if (text.size() == 1) {
      out_.push_back(u'\\');
      out_ += Cp1252ToWide(text);
    } else {
      out_.push_back(u'"');
      for (const char c : text) {
        if (c == '"') out_ += u"\"\\\"\"";  // close, an escaped quote, open again
        else out_ += Cp1252ToWide(std::string_view(&c, 1));
      }
      out_.push_back(u'"');
    }
  }

  const FormatSettings& settings_;
  WideString out_;
};

}  // namespace

WideString DateTimePictureToNumberFormat(std::string_view picture, const FormatSettings& settings) {
  DateFormatBuilder builder(settings);
  builder.Convert(picture, 0);
  return builder.Result();
}

WideString NumberPictureToNumberFormat(std::string_view picture) {
  if (picture.empty()) return u"General";
  WideString out;
  bool quoted = false;
  for (const char c : picture) {
    if (c == '\'') {
      quoted = !quoted;
      out.push_back(u'"');
    } else if (c == '"' && quoted) {
      out += u"\"\\\"\"";  // a double quote inside a single-quoted text: close, escape, reopen
    } else {
      out += Cp1252ToWide(std::string_view(&c, 1));
    }
  }
  if (quoted) out.push_back(u'"');
  return out;
}

}  // namespace vantrix
