#pragma once
// The locale's forms of numbers, dates and times as the picture language uses them: the
// separators, the default pictures and the month and day names. Text is code page 1252.
//
// An exporter keeps its own copy (in its formats), so nothing a run does changes what another
// run, or the rest of the program, formats with.
#include <array>
#include <string>

class QLocale;

namespace vantrix {

struct FormatSettings {
  char decimalSeparator = '.';
  char thousandSeparator = ',';  // '\0': none
  char dateSeparator = '/';
  char timeSeparator = ':';
  char listSeparator = ',';
  // Pictures of the date-time language (see datetime_picture.h).
  std::string shortDateFormat = "d mmm yyyy";
  std::string longDateFormat = "dddd, d mmmm yyyy";
  std::string shortTimeFormat = "hh:nn:ss";
  std::string longTimeFormat = "hh:nn:ss";
  std::string timeAMString = "AM";
  std::string timePMString = "PM";
  std::string currencyString;
  // Where the currency symbol goes: 0 before, 1 after, 2 before with a blank, 3 after with a
  // blank.
  int currencyFormat = 0;
  std::array<std::string, 12> shortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 12> longMonthNames{"January", "February", "March",     "April",   "May",      "June",
                                             "July",    "August",   "September", "October", "November", "December"};
  // Sunday first.
  std::array<std::string, 7> shortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::array<std::string, 7> longDayNames{"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

  // The forms of a Qt locale, its date and time formats turned into pictures (Qt's "MM" is
  // "mm" here, its "mm" is "nn"; its time-zone field is left out).
  static FormatSettings FromLocale(const QLocale& locale);
};

// The settings of QLocale::system(), taken once, on first use.
const FormatSettings& DefaultFormatSettings();

// The library's default currency picture: the symbol (quoted when the picture language would
// read it) before or after "#,###,##0.00", by the currency position; empty for an unknown one.
std::string DefaultCurrencyPicture(const FormatSettings& settings);

// A Qt date or time format as a picture of this language, given the separators the
// settings use for "/" and ":".
std::string QtFormatToPicture(const std::string& qtFormat, char dateSeparator, char timeSeparator);

}  // namespace vantrix
