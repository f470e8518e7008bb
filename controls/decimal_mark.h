#pragma once
// The decimal mark of numbers shown to the user. Number texts are made with "." everywhere
// below the windows (files keep it); a control or window swaps in the mark of the user's
// locale only where the text is shown.
#include <QString>
#include <string_view>

namespace draw {

// The decimal mark of the default locale (the system's, unless a test set another).
QString LocaleDecimalMark();

// A number text written with "." shown with `mark` instead. Texts without a "." (integers,
// "INF", "NAN") come back unchanged.
QString WithDecimalMark(std::string_view text, const QString& mark);

}  // namespace draw
