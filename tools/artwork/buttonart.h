#pragma once
// The pictures of the main window's command buttons: one 16 × 16 icon per button, each saying
// what its button does, and the pointer the buttons show (hot spot at (1, 1)).
#include <QImage>
#include <QList>
#include <QString>
#include <utility>

namespace orvello::artwork {

// File names (without ".png") under resources/buttons/ with their pictures: the 23 icons, then
// "pointer". At scale 2 the same drawings at twice the pixels, for screens of two device pixels
// per pixel (the pointer stays as it is: the window system scales pointers itself).
QList<std::pair<QString, QImage>> buttonPictures(int scale = 1);

}  // namespace orvello::artwork
