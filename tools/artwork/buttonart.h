#pragma once
// The pictures of the main window's command buttons: one 16 × 16 icon per button, each saying
// what its button does, and the pointer the buttons show (hot spot at (1, 1)).
#include <QImage>
#include <QList>
#include <QString>
#include <utility>

namespace orvello::artwork {

// File names (without ".png") under resources/buttons/ with their pictures: the 23 icons, then
// "pointer".
QList<std::pair<QString, QImage>> buttonPictures();

}  // namespace orvello::artwork
