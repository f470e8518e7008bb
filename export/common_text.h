#pragma once
// Small text functions the exporters and the export dialog share. Text is code page 1252.
#include <string>
#include <string_view>

namespace vantrix {

// Character notation of separators and quotes in option files: a character below 33 or above
// 127 is "#" and its code ("#32" for a blank, "#9" for a tab), any other the character itself.
std::string Char2Str(char c);
// Back: empty → character 0; one character → itself; "#" and a code 0..255 → that character;
// anything else → character 0.
char Str2Char(std::string_view text);

// The text as a number with "." as decimal point whatever the locale; def unless the whole
// text is one.
double StrToDblDef(std::string_view text, double def);

// Every occurrence of oldText, found without regard to case, replaced left to right without
// rescanning replaced text; an empty oldText leaves the text as it is.
std::string Replace(std::string_view text, std::string_view oldText, std::string_view newText);

// The number before the file name's extension, padded with zeros to digits places (a
// negative count as 0): "out.htm", 3, 2 → "out03.htm". Only the extension of the file name
// itself counts, never a dot in a folder name.
std::string AddNumberToFileName(std::string_view fileName, int number, int digits);

// The text as one field of a separated line (CSV, the clipboard's text) appended to out: in
// quotes, with each quote character doubled, when `always` or when it holds the separator,
// the quote or a line break (which would split it when read back); as it stands otherwise,
// and always when the quote is character 0 (no quoting).
void AppendSeparatedField(std::string_view text, char separator, char quote, bool always, std::string& out);

// The value in decimal appended to out: "-" before a negative one, then zeros before its
// digits up to minDigits digits (the day "05", the exponent "-007").
void AppendZeroPadded(std::string& out, long long value, int minDigits);

// The list separator of the user's locale. Linux has none: ";" where the decimal mark is ",",
// else ",".
char GetListSeparator();

int MinimumInt(int a, int b);
int MaximumInt(int a, int b);

}  // namespace vantrix
