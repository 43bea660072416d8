// The painter of each look, chosen by `ButtonStyle`. Each runs the shared routines in the same
// order: the face, the border rings (rectangular and slanted shapes), the focus mark, then the
// picture and caption.
#include "xpbutton/xpbutton.h"

namespace orvello {

void XPButton::paintLook(const RingPoints& points, BorderColors& colors)
{
    switch (buttonStyle_) {
    case 2: paintStyle2(points, colors); break;
    case 3: paintStyle3(); break;
    case 7: paintStyle7(); break;
    default: paintClassic(); break;
    }
}

}  // namespace orvello
