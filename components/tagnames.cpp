#include "components/tagnames.h"

#include "components/exivguard.h"

#include <QStringList>
#include <exiv2/exiv2.hpp>

namespace orvello {

namespace {

const char* exivGroup(Directory dir)
{
    switch (dir) {
    case Directory::Image: return "Image";
    case Directory::Exif: return "Photo";
    case Directory::Gps: return "GPSInfo";
    case Directory::Interop: return "Iop";
    case Directory::Thumbnail: return "Thumbnail";
    }
    return "Image";
}

QString prefix(Directory dir)
{
    switch (dir) {
    case Directory::Image: return QStringLiteral("Image");
    case Directory::Exif: return QStringLiteral("Exif");
    case Directory::Gps: return QStringLiteral("Gps");
    case Directory::Interop: return QStringLiteral("Interop");
    case Directory::Thumbnail: return QStringLiteral("Thumb");
    }
    return {};
}

// The words the tag names of a directory repeat at their start ("GPSLatitude").
QStringList repeatedWords(Directory dir)
{
    switch (dir) {
    case Directory::Image:
    case Directory::Thumbnail: return {QStringLiteral("Image")};
    case Directory::Exif: return {QStringLiteral("Exif")};
    case Directory::Gps: return {QStringLiteral("GPS")};
    case Directory::Interop: return {QStringLiteral("Interoperability")};
    }
    return {};
}

QString numberName(Directory dir, quint16 tag)
{
    return prefix(dir) + QStringLiteral("Tag") +
           QStringLiteral("%1").arg(tag, 4, 16, QLatin1Char('0')).toUpper();
}

// The tag's name as the metadata library knows it; empty for an unknown tag.
QString knownName(Directory dir, quint16 tag)
{
    try {
        const ExivLock lock;
        const std::string name = Exiv2::ExifKey(tag, exivGroup(dir)).tagName();
        if (name.empty() || name.rfind("0x", 0) == 0) return {};
        return QString::fromStdString(name);
    } catch (...) {
        return {};
    }
}

bool isPlainWord(const QString& s)
{
    for (QChar c : s)
        if (c.unicode() > 127 || !c.isLetterOrNumber()) return false;
    return !s.isEmpty();
}

}  // namespace

QString shortTagName(Directory dir, quint16 tag)
{
    // The directory pointers read better by what they point to.
    if (dir == Directory::Image && tag == 0x8769) return QStringLiteral("ImageExifPointer");
    if (dir == Directory::Image && tag == 0x8825) return QStringLiteral("ImageGpsPointer");
    if (dir == Directory::Exif && tag == 0xA005) return QStringLiteral("ExifInteropPointer");

    QString name = knownName(dir, tag);
    if (!isPlainWord(name)) return numberName(dir, tag);
    for (const QString& word : repeatedWords(dir))
        if (name.startsWith(word) && name.size() > word.size() && !name[word.size()].isLower())
            name.remove(0, word.size());
    name.replace(QStringLiteral("DateTime"), QStringLiteral("DT"));
    name.replace(QStringLiteral("Original"), QStringLiteral("Orig"));
    name.prepend(prefix(dir));
    // The capture date is found in the listing by this prefix; no other item may carry it.
    static const QString dateName = QStringLiteral("ExifDTOrig");
    if (name.startsWith(dateName) && !(dir == Directory::Exif && tag == 0x9003))
        return numberName(dir, tag);
    return name;
}

}  // namespace orvello
