#pragma once
// Text for a rich-text document: code page 1252 bytes written so that every reader keeps them.
// Shared by everything that writes RTF (the table exporter, the calibration certificate).
#include <string>
#include <string_view>

namespace platform {

// Appends the text with "\", "{" and "}" escaped (one of them bare would end a group or start
// a control word), a tab as "\tab " and every byte above 127 as "\'hh" (lower-case hex), so a
// reader decodes it by the document's code page instead of guessing. Other control bytes go out
// as "\'hh" too. CR and LF are left as they are: RTF readers ignore them, and a caller that
// means a paragraph break writes "\par" itself.
void AppendRtfText(std::string& out, std::string_view text);
std::string RtfText(std::string_view text);

}  // namespace platform
