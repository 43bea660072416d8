#include "imaging/printlayout.h"

namespace orvello {

QSizeF printPictureSize(QSizeF canvas, QSizeF page)
{
    const float w0 = float(canvas.width()), h0 = float(canvas.height());
    if (w0 <= 0 || h0 <= 0)
        return {};
    float height = float(page.height()) - 2 * kPrintMarginTwips;
    float width = height / h0 * w0;
    if (width > float(page.width()) - 2 * kPrintMarginTwips) {
        width = float(page.width()) - 2 * kPrintMarginTwips;
        height = width / w0 * h0;
    }
    return {width, height};
}

}  // namespace orvello
