#pragma once
// A picture object as XPButton stores it: an image with the picture's type. Bitmaps serve as
// button pictures; icons and cursors serve as button pictures and as mouse icons (with their
// hot spot). Pictures are kept as images in memory and as PNG data in a property store.
#include <QImage>
#include <QMetaType>
#include <QPoint>

namespace orvello {

struct XbPicture {
    enum class Type { Bitmap, Icon, Cursor };

    QImage image;  // null: no picture
    Type type = Type::Bitmap;
    QPoint hotSpot;  // cursors only

    XbPicture() = default;
    explicit XbPicture(QImage img, Type t = Type::Bitmap, QPoint hot = {})
        : image(std::move(img)), type(t), hotSpot(hot)
    {
    }

    bool isNull() const { return image.isNull(); }
    int width() const { return image.width(); }
    int height() const { return image.height(); }

    // PNG form; an empty array for no picture.
    QByteArray toPng() const;
    static XbPicture fromPng(const QByteArray& png, Type type = Type::Bitmap, QPoint hot = {});

    friend bool operator==(const XbPicture& a, const XbPicture& b)
    {
        if (a.isNull() || b.isNull()) return a.isNull() == b.isNull();
        return a.type == b.type && a.hotSpot == b.hotSpot &&
               a.image.convertToFormat(QImage::Format_ARGB32) ==
                   b.image.convertToFormat(QImage::Format_ARGB32);
    }
    friend bool operator!=(const XbPicture& a, const XbPicture& b) { return !(a == b); }
};

}  // namespace orvello

Q_DECLARE_METATYPE(orvello::XbPicture)
