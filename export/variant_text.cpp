#include "export/variant_text.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <charconv>

#include "export/datetime_picture.h"
#include "export/float_picture.h"
#include "export/format_settings.h"
#include "platform/cp1252.h"

namespace vantrix {
namespace {

template <typename T>
void AppendInteger(std::string& out, T value) {
  char buf[24];
  const auto result = std::to_chars(buf, buf + sizeof buf, value);
  out.append(buf, result.ptr);
}

bool DateToTDateTime(const QDate& date, TDateTime& out) {
  return date.isValid() && platform::TryEncodeDate(date.year(), date.month(), date.day(), out);
}

bool TimeToTDateTime(const QTime& time, TDateTime& out) {
  return time.isValid() && platform::TryEncodeTime(time.hour(), time.minute(), time.second(), time.msec(), out);
}

}  // namespace

bool VariantToDateTime(const QVariant& value, TDateTime& out) {
  switch (value.typeId()) {
    case QMetaType::QDate:
      return DateToTDateTime(value.toDate(), out);
    case QMetaType::QTime:
      return TimeToTDateTime(value.toTime(), out);
    case QMetaType::QDateTime: {
      const QDateTime dt = value.toDateTime();
      TDateTime date = 0, time = 0;
      if (!DateToTDateTime(dt.date(), date) || !TimeToTDateTime(dt.time(), time)) return false;
      out = platform::ComposeDateTime(date, time);
      return true;
    }
    default:
      return false;
  }
}

void VariantToText(const QVariant& value, const FormatSettings& settings, std::string& out) {
  out.clear();
  if (!value.isValid()) return;
  const int type = value.typeId();
  // Byte arrays and strings are read in place: a copy of them costs more than the rest.
  if (type == QMetaType::QByteArray) {
    const QByteArray& bytes = *static_cast<const QByteArray*>(value.constData());
    out.assign(bytes.constData(), static_cast<size_t>(bytes.size()));
    return;
  }
  if (type == QMetaType::QString) {
    out = platform::Utf8ToCp1252(static_cast<const QString*>(value.constData())->toStdString());
    return;
  }
  if (value.isNull()) return;
  switch (type) {
    case QMetaType::Bool:
      out = value.toBool() ? "True" : "False";
      return;
    case QMetaType::Int: case QMetaType::Short: case QMetaType::SChar: case QMetaType::Long: case QMetaType::LongLong:
      AppendInteger(out, value.toLongLong());
      return;
    case QMetaType::UInt: case QMetaType::UShort: case QMetaType::UChar: case QMetaType::ULong:
    case QMetaType::ULongLong:
      AppendInteger(out, value.toULongLong());
      return;
    case QMetaType::Double: case QMetaType::Float:
      FloatToStrTo(out, value.toDouble(), settings);
      return;
    case QMetaType::QDate: case QMetaType::QTime: case QMetaType::QDateTime: {
      TDateTime t = 0;
      if (!VariantToDateTime(value, t)) return;
      const char* picture = type == QMetaType::QDate ? "ddddd" : type == QMetaType::QTime ? "tt" : "c";
      FormatDateTimeTo(out, picture, t, settings);
      return;
    }
    default:
      out = platform::Utf8ToCp1252(value.toString().toStdString());
      return;
  }
}

}  // namespace vantrix
