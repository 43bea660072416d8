#include "ui/design.h"

#include "overlay/overlayfonts.h"
#include "xpbutton/raster/fontquality.h"

#include <QColor>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>
#include <cmath>

namespace orvello {

namespace {

// The design data holds the texts a user reads in Chinese; they go through the translation as
// they are read (translations/design_en.ts).
QString designText(const QJsonValue& value)
{
    const QString text = value.toString();
    return text.isEmpty() ? text : QCoreApplication::translate("design", text.toUtf8().constData());
}

}  // namespace

FormDesign loadDesign(const QString& path)
{
    FormDesign form;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return form;
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    const QJsonObject f = root.value(QLatin1String("form")).toObject();
    form.name = f.value(QLatin1String("name")).toString();
    form.caption = designText(f.value(QLatin1String("caption")));
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
        c.caption = designText(o.take(QLatin1String("caption")));
        c.toolTip = designText(o.take(QLatin1String("toolTip")));
        if (QJsonObject p = o.value(QLatin1String("properties")).toObject();
            p.contains(QLatin1String("caption"))) {
            p.insert(QLatin1String("caption"), designText(p.value(QLatin1String("caption"))));
            o.insert(QLatin1String("properties"), p);
        }
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
