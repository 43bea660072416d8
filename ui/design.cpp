#include "ui/design.h"

#include "overlay/overlayfonts.h"
#include "xpbutton/raster/fontquality.h"

#include <QColor>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>
#include <cmath>

namespace orvello {

FormDesign loadDesign(const QString& path)
{
    FormDesign form;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return form;
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    const QJsonObject f = root.value(QLatin1String("form")).toObject();
    form.name = f.value(QLatin1String("name")).toString();
    form.caption = f.value(QLatin1String("caption")).toString();
    form.widthTwips = f.value(QLatin1String("width")).toInt();
    form.heightTwips = f.value(QLatin1String("height")).toInt();
    form.backColor = quint32(f.value(QLatin1String("backColor")).toInteger(0xFFFFFF));
    const QJsonObject font = f.value(QLatin1String("font")).toObject();
    form.fontName = font.value(QLatin1String("name")).toString();
    form.fontPoints = font.value(QLatin1String("size")).toDouble();
    for (const QJsonValue& v : root.value(QLatin1String("controls")).toArray()) {
        QJsonObject o = v.toObject();
        ControlDesign c;
        c.kind = o.take(QLatin1String("kind")).toString();
        c.name = o.take(QLatin1String("name")).toString();
        c.twips =
            QRect(o.take(QLatin1String("left")).toInt(), o.take(QLatin1String("top")).toInt(),
                  o.take(QLatin1String("width")).toInt(), o.take(QLatin1String("height")).toInt());
        c.caption = o.take(QLatin1String("caption")).toString();
        c.toolTip = o.take(QLatin1String("toolTip")).toString();
        c.tabIndex = o.take(QLatin1String("tabIndex")).toInt(-1);
        c.extra = o;
        form.controls.append(c);
    }
    return form;
}

QFont designFont(const QString& name, double points)
{
    ensureOverlayFaces();
    QFont font(name);
    font.setPixelSize(std::max(1, int(std::lround(points * 96.0 / 72.0))));
    return raster::withDefaultQuality(font, qGuiApp ? qGuiApp->devicePixelRatio() : 1.0);
}

int twipsToPixels(double twips)
{
    return int(std::lround(twips / 15.0));
}

QRect twipsToPixels(const QRect& t)
{
    return QRect(twipsToPixels(t.left()), twipsToPixels(t.top()), twipsToPixels(t.width()),
                 twipsToPixels(t.height()));
}

QColor colorFromValue(quint32 v)
{
    return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}

quint32 valueFromColor(const QColor& c)
{
    return quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16);
}

}  // namespace orvello
