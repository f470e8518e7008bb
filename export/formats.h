#pragma once
// The display pictures an export formats its values with, by column type, the texts of
// Booleans and nulls, and the locale forms the pictures read and write values in.
#include <string>

#include "export/format_settings.h"

namespace vantrix {

class TVantrixFormats {
 public:
  // The library defaults of the user's locale.
  TVantrixFormats();
  // The defaults of the given locale forms (a test or tool can pick C or pt_BR).
  explicit TVantrixFormats(const FormatSettings& settings);

  const std::string& IntegerFormat() const { return integerFormat_; }
  const std::string& FloatFormat() const { return floatFormat_; }
  const std::string& DateFormat() const { return dateFormat_; }
  const std::string& TimeFormat() const { return timeFormat_; }
  const std::string& DateTimeFormat() const { return dateTimeFormat_; }
  const std::string& CurrencyFormat() const { return currencyFormat_; }
  const std::string& BooleanTrue() const { return booleanTrue_; }
  const std::string& BooleanFalse() const { return booleanFalse_; }
  const std::string& NullString() const { return nullString_; }

  // An empty text stores the default, except for FloatFormat (empty means the general form)
  // and NullString (stored trimmed of blanks and control characters).
  void SetIntegerFormat(const std::string& value);
  void SetFloatFormat(const std::string& value);
  void SetDateFormat(const std::string& value);
  void SetTimeFormat(const std::string& value);
  void SetDateTimeFormat(const std::string& value);
  void SetCurrencyFormat(const std::string& value);
  void SetBooleanTrue(const std::string& value);
  void SetBooleanFalse(const std::string& value);
  void SetNullString(const std::string& value);

  // The eight pictures and texts back to their defaults; NullString stays.
  void ResetFormats();
  // All nine through the setters, and the locale forms.
  void Assign(const TVantrixFormats& other);

  const FormatSettings& Settings() const { return settings_; }
  // New locale forms; the defaults follow them, pictures already set stay.
  void SetSettings(const FormatSettings& settings) { settings_ = settings; }

  std::string DefaultIntegerFormat() const { return "#,###,##0"; }
  std::string DefaultFloatFormat() const { return "#,###,##0.00"; }
  std::string DefaultDateFormat() const { return settings_.shortDateFormat; }
  std::string DefaultTimeFormat() const { return settings_.shortTimeFormat; }
  std::string DefaultDateTimeFormat() const { return settings_.shortDateFormat + " " + settings_.shortTimeFormat; }
  std::string DefaultCurrencyFormat() const { return DefaultCurrencyPicture(settings_); }

 private:
  FormatSettings settings_;
  std::string integerFormat_, floatFormat_, dateFormat_, timeFormat_, dateTimeFormat_, currencyFormat_;
  std::string booleanTrue_, booleanFalse_, nullString_;
};

}  // namespace vantrix
