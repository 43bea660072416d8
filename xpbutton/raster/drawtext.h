#pragma once
// DrawText into a memory context: lines broken at CR LF and, with DT_WORDBREAK, between words
// (a word wider than the rectangle stays whole); "&" marks the next character as the access key,
// shown underlined, and "&&" shows one "&". Glyphs are drawn in the context's text colour as the
// font's style strategy asks (see fontquality.h: whole pixels from a bitmap strike, or smoothed
// over what lies under them), on the background colour when the background mode is OPAQUE.
#include "xpbutton/raster/bufferdc.h"

#include <QRect>
#include <QString>

namespace orvello::raster {

enum : unsigned {
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_NOCLIP = 0x100,
    DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800,
};

// rect is GDI's (left, top, right, bottom) with right and bottom exclusive. With DT_CALCRECT
// nothing is drawn and rect's right and bottom grow or shrink to fit the text. Returns the
// height of the text.
int DrawTextA(BufferDC& dc, const QString& text, QRect& rect, unsigned format);

}  // namespace orvello::raster
