#pragma once
// The window's design data: each control's kind, name, geometry in twips, caption, tool tip and
// tab index, read from the JSON design resource.
#include <QFont>
#include <QJsonObject>
#include <QRect>
#include <QString>
#include <QVector>

namespace orvello {

struct ControlDesign {
    QString kind;  // label, list, xpbutton, textbox, picture, checkbox
    QString name;
    QRect twips;  // left, top, width, height
    QString caption;
    QString toolTip;
    int tabIndex = -1;  // -1: not in the focus order
    QJsonObject extra;  // kind-specific settings (colours, multiLine, checked, an XPButton's
                        // "properties" …)
};

struct FormDesign {
    QString name;
    QString caption;
    int widthTwips = 0;
    int heightTwips = 0;
    quint32 backColor = 0xFFFFFF;
    QString fontName;       // the face every control's text is in
    double fontPoints = 0;  // its size in points
    QVector<ControlDesign> controls;
};

// Reads a design resource; an unreadable or malformed resource gives an empty form.
FormDesign loadDesign(const QString& path);

// A font of the design data: the face name ("宋体" resolves to an installed Song face) at its
// size in points taken at 96 dots per inch, in whole pixels, drawn as a font of default quality
// (xpbutton/raster/fontquality.h): from the face's bitmap strike where it has one for the size
// in device pixels (the screen's scale factor times the size), else smoothed.
QFont designFont(const QString& name, double points);

// Twips to pixels at 15 twips per pixel, rounded to the nearest pixel.
int twipsToPixels(double twips);
QRect twipsToPixels(const QRect& twips);

// A colour value red + 256 × green + 65536 × blue as a QColor (low 24 bits).
QColor colorFromValue(quint32 value);
quint32 valueFromColor(const QColor& color);

}  // namespace orvello
