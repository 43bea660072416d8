#pragma once
// Looking at JPEG copies in tests: decoding, the library's own lossless turn, and comparing
// pixels inside and outside given rectangles.
#include "imaging/losslessstamp.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRect>

namespace orvello::probe {

// Something like a photo: smooth shading under fine grain, so that blocks carry real detail.
QImage grainyPhoto(QSize size, quint32 seed = 12345);
// Decoded to RGB32 with TurboJPEG (flags: TJFLAG_FASTUPSAMPLE …); null on failure.
QImage decode(const QByteArray& jpeg, int flags = 0);
// The photo turned by the library alone, no block changed; empty when it cannot be.
QByteArray plainTurn(const QByteArray& jpeg, PictureTurn turn);
// Pixels that differ between a and b and lie outside every rectangle of allowed.
int changedOutside(const QImage& a, const QImage& b, const QList<QRect>& allowed);
// The mean difference of the colour channels of a and b over r, from 0 to 255.
double meanDifference(const QImage& a, const QImage& b, const QRect& r);

}  // namespace orvello::probe
