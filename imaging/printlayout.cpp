#include "imaging/printlayout.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <cmath>

namespace orvello {

QSizeF printPictureSize(QSizeF canvas, QSizeF page)
{
    const float w0 = float(canvas.width()), h0 = float(canvas.height());
    if (w0 <= 0 || h0 <= 0) return {};
    float height = float(page.height()) - 2 * kPrintMarginTwips;
    float width = height / h0 * w0;
    if (width > float(page.width()) - 2 * kPrintMarginTwips) {
        width = float(page.width()) - 2 * kPrintMarginTwips;
        height = width / w0 * h0;
    }
    return {width, height};
}

namespace {
constexpr double kTwipsPerPoint = 20.0, kTwipsPerInch = 1440.0, kTwipsPerPixel = 15.0;
constexpr double kMillimetresPerInch = 25.4;
}  // namespace

QSizeF pageTwips(const QPageLayout& layout)
{
    const QPageSize& paper = layout.pageSize();
    QSizeF twips;
    switch (paper.definitionUnits()) {
    case QPageSize::Inch: twips = paper.definitionSize() * kTwipsPerInch; break;
    case QPageSize::Point: twips = paper.definitionSize() * kTwipsPerPoint; break;
    case QPageSize::Millimeter:
        twips = paper.definitionSize() * (kTwipsPerInch / kMillimetresPerInch);
        break;
    default:
        twips = paper.size(QPageSize::Millimeter) * (kTwipsPerInch / kMillimetresPerInch);
        break;
    }
    twips = QSizeF(std::round(twips.width()), std::round(twips.height()));
    if (layout.orientation() == QPageLayout::Landscape) twips.transpose();
    return twips;
}

bool printCanvas(QPrinter& printer, const QImage& canvas)
{
    const QSizeF page = pageTwips(printer.pageLayout());
    const QSizeF twips = printPictureSize(QSizeF(canvas.size()) * kTwipsPerPixel, page);
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const double perTwip = printer.resolution() / kTwipsPerInch;
    painter.drawImage(QRectF(QPointF(0, 0), twips * perTwip), canvas);
    return painter.end();  // ends the document: the page goes out
}

}  // namespace orvello
