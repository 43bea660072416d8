#pragma once
// Text from photos on its way to a terminal: EXIF items can hold escape sequences that set the
// window title, clear the screen or worse, line breaks that forge a line of their own, and
// bidirectional controls that reverse what a line appears to say. On a terminal each of them is
// shown as a visible escape; elsewhere text passes unchanged.
#include <QList>
#include <QString>
#include <cstdio>

namespace orvello {

// CR and LF as "\r" and "\n", the bidirectional embeddings, overrides and isolates
// (U+202A-U+202E, U+2066-U+2069) as "\u202E" and the like, and every other C0 or C1 control
// character (and DEL) as "\x" and two hexadecimal digits.
QString visibleControls(const QString& text);

// The text as it should reach stream: escaped when the stream is a terminal.
QString terminalSafe(const QString& text, std::FILE* stream);

// The EXIF listing as it should reach stream, its lines ending in LF. On a terminal each item
// (its line starting at an offset of itemStarts) stays on one line, whatever its value holds.
QString terminalListing(const QString& text, const QList<qsizetype>& itemStarts, std::FILE* stream);

}  // namespace orvello
