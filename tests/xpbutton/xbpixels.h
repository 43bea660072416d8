#pragma once
// Buttons made for pixel checks, and reading their composed buffer as colours.
#include "tests/xpbutton/testhost.h"
#include "xpbutton/raster/bufferdc.h"
#include "xpbutton/xpbutton.h"

#include <QSet>
#include <QWidget>
#include <memory>

namespace orvello::test {

constexpr OleColor rgb(int r, int g, int b)
{
    return OleColor(r) | OleColor(g) << 8 | OleColor(b) << 16;
}

// A running-program button of W × H in its own container, initialised with a caption.
struct PixelButton {
    std::unique_ptr<QWidget> container = std::make_unique<QWidget>();
    XbTestHost host;
    XPButton* b;

    PixelButton(int w, int h, int style = 2, int shape = 0, const QString& caption = {})
    {
        container->resize(400, 200);
        host.container = container.get();
        host.user = true;
        host.displayName = caption;
        b = new XPButton(container.get(), &host);
        b->resize(w, h);
        b->initProperties();
        b->DelayDrawing(true);
        b->setButtonStyle(style);
        b->setButtonShape(shape);  // clears the delay and runs the resize: one full draw
    }

    OleColor at(int x, int y) const { return raster::fromArgb(b->buffer().pixel(x, y)); }
    // Every colour of the buffer inside r.
    QSet<OleColor> colours(const QRect& r) const
    {
        QSet<OleColor> out;
        const QImage img = b->buffer();
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (img.rect().contains(x, y)) out.insert(raster::fromArgb(img.pixel(x, y)));
        return out;
    }
    // The bounding box of the pixels of colour c.
    QRect boxOf(OleColor c) const
    {
        QRect box;
        const QImage img = b->buffer();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (raster::fromArgb(img.pixel(x, y)) == c) box |= QRect(x, y, 1, 1);
        return box;
    }
};

// A bitmap of w × h in colour fill whose top-left pixel is magenta, the transparent key.
inline XbPicture keyedBitmap(int w, int h, QColor fill)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill);
    img.setPixelColor(0, 0, QColor(255, 0, 255));
    return XbPicture(img);
}

}  // namespace orvello::test
