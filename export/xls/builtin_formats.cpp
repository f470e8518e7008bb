#include "export/xls/builtin_formats.h"

#include <array>

namespace vantrix {

namespace {

constexpr std::array<std::u16string_view, 50> kBuiltIn = {
    u"General", u"0", u"0.00", u"#,##0", u"#,##0.00",
    u"\"$\"#,##0_);(\"$\"#,##0)", u"\"$\"#,##0_);[Red](\"$\"#,##0)", u"\"$\"#,##0.00_);(\"$\"#,##0.00)",
    u"\"$\"#,##0.00_);[Red](\"$\"#,##0.00)", u"0%", u"0.00%", u"0.00E+00", u"# ?/?", u"# ?\?/??",
    u"m/d/yy", u"d-mmm-yy", u"d-mmm", u"mmm-yy", u"h:mm AM/PM", u"h:mm:ss AM/PM", u"h:mm", u"h:mm:ss",
    u"m/d/yy h:mm",
    u"General", u"General", u"General", u"General", u"General", u"General", u"General", u"General",
    u"General", u"General", u"General", u"General", u"General", u"General",
    u"#,##0_);(#,##0)", u"#,##0_);[Red](#,##0)", u"#,##0.00_);(#,##0.00)", u"#,##0.00_);[Red](#,##0.00)",
    u"_(* #,##0_);_(* (#,##0);_(* \"-\"_);_(@_)", u"_(\"$\"* #,##0_);_(\"$\"* (#,##0);_(\"$\"* \"-\"_);_(@_)",
    u"_(* #,##0.00_);_(* (#,##0.00);_(* \"-\"??_);_(@_)",
    u"_(\"$\"* #,##0.00_);_(\"$\"* (#,##0.00);_(\"$\"* \"-\"??_);_(@_)",
    u"mm:ss", u"[h]:mm:ss", u"mm:ss.0", u"##0.0E+0", u"@",
};

}  // namespace

std::u16string_view BuiltInFormat(int id) {
  return id >= 0 && id < static_cast<int>(kBuiltIn.size()) ? kBuiltIn[static_cast<size_t>(id)] : std::u16string_view();
}

bool IsDateTimeFormat(std::u16string_view format) {
  bool quoted = false;
  int bracket = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    const char16_t c = format[i];
    if (quoted) {
      if (c == u'"') quoted = false;
    } else if (bracket > 0) {
      if (c == u']') --bracket;
    } else if (c == u'"') {
      quoted = true;
    } else if (c == u'[') {
      // An elapsed-time field ("[h]", "[mm]", "[ss]") is a time; any other bracket (a colour,
      // a condition, a locale) says nothing.
      size_t j = i + 1;
      while (j < format.size() && (format[j] == u'h' || format[j] == u'H' || format[j] == u'm' || format[j] == u'M' ||
                                   format[j] == u's' || format[j] == u'S'))
        ++j;
      if (j > i + 1 && j < format.size() && format[j] == u']') return true;
      ++bracket;
    } else if (c == u'\\' || c == u'_' || c == u'*') {
      ++i;
    } else {
      switch (c) {
        case u'y': case u'Y': case u'm': case u'M': case u'd': case u'D': case u'h': case u'H': case u's': case u'S':
          return true;
        default:
          break;
      }
    }
  }
  return false;
}

}  // namespace vantrix
