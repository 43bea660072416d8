#pragma once
// The faces the overlay draws in, and the face names the font picker offers.
#include <QFont>
#include <QString>
#include <QStringList>

namespace orvello {

// Makes the title's default face "宋体" resolve to an installed Song-style face. Safe to call more
// than once; DrawOverlay and overlayFontFamilies call it themselves.
void ensureOverlayFaces();

// The date face is drawn condensed to three quarters of its width, with a blank as wide as a
// digit.
inline constexpr int kDateFaceStretch = QFont::Condensed;

// True for "DigifaceWide" and for the family of the loaded seven-segment files.
bool isDateFace(const QString& face);

// The drawing font of an item: the face name as the user chose it (not split at commas), a pixel
// size, bold and italic, anti-aliased; the date face in its condensed metrics. A face without a
// glyph for some character falls back per character to an installed face that has it (for Chinese
// text, a CJK face).
QFont overlayFont(const QString& face, int pixelSize, bool bold, bool italic);

// Face names for the font picker, in the order of the font database, with the seven-segment face
// listed under the name "DigifaceWide" instead of its file's family name.
QStringList overlayFontFamilies();

}  // namespace orvello
