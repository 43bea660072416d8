#pragma once
// The colour table of a gradient face.
#include "xpbutton/xbcolor.h"

#include <QList>

namespace orvello {

// n colours from a to b: entry 0 is a itself, each next one a step further, with green and blue
// read through the divisors 255 and 65280 as the button's colour arithmetic does, each
// component clamped to 0..255 and truncated.
QList<OleColor> GradientTable(OleColor a, OleColor b, int n);

}  // namespace orvello
