#pragma once
// Telling JPEG and TIFF content apart from anything else by its first bytes, and photo files
// by their names.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace orvello {

inline bool looksLikeJpeg(const QByteArray& b)
{
    return b.startsWith("\xFF\xD8\xFF");
}

inline bool looksLikeTiff(const QByteArray& b)
{
    return b.startsWith(QByteArrayView("II*\0", 4)) || b.startsWith(QByteArrayView("MM\0*", 4));
}

// The extensions of the photo files the program lists and opens, in lower case; a name matches
// in any letter case.
inline const QStringList& photoExtensions()
{
    static const QStringList list = {QStringLiteral("jpg"),  QStringLiteral("jpeg"),
                                     QStringLiteral("tif"),  QStringLiteral("tiff"),
                                     QStringLiteral("heic"), QStringLiteral("heif")};
    return list;
}

// True for an extension (any case) whose photo's stamped copy, always JPEG data, is named ".jpg"
// instead: TIFF and HEIF. A JPEG's copy keeps its own extension.
inline bool copyTakesJpgExtension(const QString& extension)
{
    const QString e = extension.toLower();
    return e == QLatin1String("tif") || e == QLatin1String("tiff") || e == QLatin1String("heic") ||
           e == QLatin1String("heif");
}

}  // namespace orvello
