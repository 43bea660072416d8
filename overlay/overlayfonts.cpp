#include "overlay/overlayfonts.h"

#include "app/startup.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <algorithm>
#include <mutex>

namespace orvello {

void ensureOverlayFaces()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // Song-style first, then a Hei face in case the Song face is not installed.
        QFont::insertSubstitutions(QStringLiteral("宋体"), {QStringLiteral("AR PL UMing CN"),
                                                            QStringLiteral("AR PL UMing TW"),
                                                            QStringLiteral("WenQuanYi Zen Hei")});
    });
}

bool isDateFace(const QString& face)
{
    const QString dateFace = QString::fromLatin1(kDateFaceName);
    if (face.compare(dateFace, Qt::CaseInsensitive) == 0) return true;
    const QStringList loaded = QFont::substitutes(dateFace);
    return !loaded.isEmpty() && face.compare(loaded.first(), Qt::CaseInsensitive) == 0;
}

QFont overlayFont(const QString& face, int pixelSize, bool bold, bool italic)
{
    ensureOverlayFaces();
    QFont font;
    font.setFamilies({face});
    font.setPixelSize(std::max(1, pixelSize));
    font.setBold(bold);
    font.setItalic(italic);
    // Grey-level smoothing only: colour fringes would show in the saved photo.
    font.setStyleStrategy(
        QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias));
    if (isDateFace(face)) {
        // The seven-segment digits are 0.82 em wide and their blank only 0.2 em: the stamp's
        // places and size were chosen for a narrower face whose blank is a digit wide, so a full
        // date-time fits a portrait photo and its date and time read as two numbers.
        font.setStretch(kDateFaceStretch);
        const QFontMetricsF metrics(font);
        font.setWordSpacing(metrics.horizontalAdvance(QLatin1Char('0')) -
                            metrics.horizontalAdvance(QLatin1Char(' ')));
    }
    return font;
}

QStringList overlayFontFamilies()
{
    ensureOverlayFaces();
    const QString dateFace = QString::fromLatin1(kDateFaceName);
    const QStringList loaded = QFont::substitutes(dateFace);
    QStringList names = QFontDatabase::families();
    if (names.contains(dateFace) || loaded.isEmpty()) return names;
    // The substitution table keeps its names in lower case.
    for (QString& name : names) {
        if (name.compare(loaded.first(), Qt::CaseInsensitive) == 0) {
            name = dateFace;
            break;
        }
    }
    return names;
}

}  // namespace orvello
