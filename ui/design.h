#pragma once
// The window's design data: each control's kind, name, geometry in twips, caption, tool tip and
// tab index, read from the JSON design resource.
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
    QJsonObject extra;  // kind-specific settings (colours, multiLine, checked, an XPButton's "properties" …)
};

struct FormDesign {
    QString name;
    QString caption;
    int widthTwips = 0;
    int heightTwips = 0;
    quint32 backColor = 0xFFFFFF;
    QVector<ControlDesign> controls;
};

// Reads a design resource; an unreadable or malformed resource gives an empty form.
FormDesign loadDesign(const QString& path);

// Twips to pixels at 15 twips per pixel, rounded to the nearest pixel.
int twipsToPixels(double twips);
QRect twipsToPixels(const QRect& twips);

// A colour value red + 256 × green + 65536 × blue as a QColor (low 24 bits).
QColor colorFromValue(quint32 value);
quint32 valueFromColor(const QColor& color);

}  // namespace orvello
