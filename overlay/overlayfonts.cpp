#include "overlay/overlayfonts.h"

#include "app/startup.h"

#include <QFontDatabase>
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
