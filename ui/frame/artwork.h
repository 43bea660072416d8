#pragma once
// The frame's artwork in the program's resources (drawn by tools/artwork).
#include <QIcon>
#include <QImage>

namespace orvello::artwork {

QImage skin();            // the frame skin, 271 × 218 pixels
QImage programIcon();     // the 16 × 16 icon painted into the title band
QIcon applicationIcon();  // the icon at every size, for the window system and the task bar

}  // namespace orvello::artwork
