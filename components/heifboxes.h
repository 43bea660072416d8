#pragma once
// A HEIF file's items read box by box, for what libheif does not tell before it decodes: the
// picture every HEVC stream announces in its parameter sets, and the output size every grid and
// overlay names in its data, for the primary image and everything it is built from. A decoder
// allocates those sizes whatever the file declares beside them, so they are checked first.
#include <QByteArray>
#include <QList>
#include <QString>

namespace orvello {

// One picture that decoding the primary image allocates.
struct HeifPicture {
    quint32 item = 0;
    QByteArray type;  // the item's type: "hvc1" for an HEVC stream, "grid", "iovl"
    // The size the item declares for itself (its ispe property); 0 × 0 when it has none.
    qint64 declaredWidth = 0, declaredHeight = 0;
    // The size the stream's parameter set or the grid's or overlay's data claims.
    qint64 width = 0, height = 0;
    int bitDepth = 8;  // of the stream's samples; 8 for a grid or overlay
};

struct HeifPictures {
    QList<HeifPicture> pictures;
    // Why the items cannot be followed, in the interface's language; empty when they could. An
    // item that is referred to but missing is no error here: there is nothing to allocate for it.
    QString error;
};

HeifPictures heifPictures(QByteArrayView file);

}  // namespace orvello
