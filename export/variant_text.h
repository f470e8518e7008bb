#pragma once
// Values of item models and of the custom source's handler as text, the way the original's
// variant and field conversions wrote them, in the settings' locale forms.
#include <QVariant>
#include <string>

#include "platform/datetime.h"

namespace vantrix {

struct FormatSettings;

// Numbers in the general form (15 significant digits), dates and times with the short date
// and long time pictures (a date alone, a time alone), Booleans "True" and "False", byte
// arrays as their bytes (already code page 1252), strings converted to code page 1252, null
// and invalid values as empty text.
void VariantToText(const QVariant& value, const FormatSettings& settings, std::string& out);

// A date, time or date-time value as TDateTime; false for other values.
bool VariantToDateTime(const QVariant& value, TDateTime& out);

}  // namespace vantrix
