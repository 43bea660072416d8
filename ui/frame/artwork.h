#pragma once
// The frame's artwork in the program's resources (drawn by tools/artwork).
#include <QIcon>
#include <QImage>

namespace orvello::artwork {

QImage skin();                      // the frame skin, 271 × 218 pixels
QImage skin2x();                    // the same at twice the pixels, for scaled screens
QImage programIcon(int size = 16);  // the icon painted into the title band (16 or 32 pixels)
QIcon applicationIcon();  // the icon at every size, for the window system and the task bar

// The picture at path; its drawing at twice the pixels ("name@2x.png" beside it), where there is
// one, is drawn in its place on scaled screens (xpbutton/raster/devicelayer.h).
QImage picture(const QString& path);

}  // namespace orvello::artwork
