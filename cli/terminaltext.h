#pragma once
// Text from photos on its way to a terminal: EXIF items can hold escape sequences that set the
// window title, clear the screen or worse. On a terminal every C0 and C1 control character
// (and DEL) except the line feed is shown as a visible escape; elsewhere text passes unchanged.
#include <QString>
#include <cstdio>

namespace orvello {

// Each control character other than '\n' as "\x" and two hexadecimal digits.
QString visibleControls(const QString& text);

// The text as it should reach stream: escaped when the stream is a terminal.
QString terminalSafe(const QString& text, std::FILE* stream);

}  // namespace orvello
