#include "export/formats.h"

#include "platform/text_trim.h"

namespace vantrix {

TVantrixFormats::TVantrixFormats() : TVantrixFormats(DefaultFormatSettings()) {}

TVantrixFormats::TVantrixFormats(const FormatSettings& settings) : settings_(settings) { ResetFormats(); }

void TVantrixFormats::SetIntegerFormat(const std::string& value) {
  integerFormat_ = value.empty() ? DefaultIntegerFormat() : value;
}
void TVantrixFormats::SetFloatFormat(const std::string& value) { floatFormat_ = value; }
void TVantrixFormats::SetDateFormat(const std::string& value) {
  dateFormat_ = value.empty() ? DefaultDateFormat() : value;
}
void TVantrixFormats::SetTimeFormat(const std::string& value) {
  timeFormat_ = value.empty() ? DefaultTimeFormat() : value;
}
void TVantrixFormats::SetDateTimeFormat(const std::string& value) {
  dateTimeFormat_ = value.empty() ? DefaultDateTimeFormat() : value;
}
void TVantrixFormats::SetCurrencyFormat(const std::string& value) {
  currencyFormat_ = value.empty() ? DefaultCurrencyFormat() : value;
}
void TVantrixFormats::SetBooleanTrue(const std::string& value) { booleanTrue_ = value.empty() ? "true" : value; }
void TVantrixFormats::SetBooleanFalse(const std::string& value) { booleanFalse_ = value.empty() ? "false" : value; }
void TVantrixFormats::SetNullString(const std::string& value) { nullString_ = platform::TrimBlanks(value); }

void TVantrixFormats::ResetFormats() {
  integerFormat_ = DefaultIntegerFormat();
  floatFormat_ = DefaultFloatFormat();
  dateFormat_ = DefaultDateFormat();
  timeFormat_ = DefaultTimeFormat();
  dateTimeFormat_ = DefaultDateTimeFormat();
  currencyFormat_ = DefaultCurrencyFormat();
  booleanTrue_ = "true";
  booleanFalse_ = "false";
}

void TVantrixFormats::Assign(const TVantrixFormats& other) {
  if (&other == this) return;
  settings_ = other.settings_;
  SetIntegerFormat(other.integerFormat_);
  SetFloatFormat(other.floatFormat_);
  SetDateFormat(other.dateFormat_);
  SetTimeFormat(other.timeFormat_);
  SetDateTimeFormat(other.dateTimeFormat_);
  SetCurrencyFormat(other.currencyFormat_);
  SetBooleanTrue(other.booleanTrue_);
  SetBooleanFalse(other.booleanFalse_);
  SetNullString(other.nullString_);
}

}  // namespace vantrix
