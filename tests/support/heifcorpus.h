#pragma once
// Hostile HEICs made from ones libheif's encoder wrote, by rewriting their boxes and parameter
// sets: small files whose streams or grids claim far more than the file declares.
#include <QByteArray>

namespace orvello::test {

// The HEIC (one coded image, no metadata) with its sequence parameter set claiming width x height.
// inData: a second such set goes before the picture's data instead, the configuration box keeping
// the true one (a decoder reads both).
QByteArray withCodedSize(QByteArray heic, quint32 width, quint32 height, bool inData = false);

// The grid (as makeGridHeic writes it) with the output size its data names replaced.
QByteArray withGridOutput(QByteArray grid, quint16 width, quint16 height);

// The HEIC (one coded image) cropped to width x height by a clean-aperture property.
QByteArray withCrop(QByteArray heic, quint32 width, quint32 height);

}  // namespace orvello::test
