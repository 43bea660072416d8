#include "overlay/glyphoutlines.h"

#include <QHash>
#include <QPainter>
#include <QRawFont>
#include <QtEndian>
#include <cmath>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

namespace orvello {

namespace {

// Qt draws glyph images up to this many pixels (QT_MAX_CACHED_GLYPH_SIZE changes it) and outlines
// above it.
constexpr int kQtLargestGlyphImage = 64;
// FreeType's slant for a made-up italic, the one Qt applies; Qt makes up bold only below 64 pixels.
constexpr double kObliqueShear = 0x0366A / 65536.0;
constexpr double kQtLargestMadeUpBold = 64;
// Faces kept open at once: a CJK face holds some 20 MB of tables.
constexpr qsizetype kKeptFaces = 6;

int largestGlyphImage()
{
    static const int size = [] {
        const int set = qEnvironmentVariableIntValue("QT_MAX_CACHED_GLYPH_SIZE");
        return set > 0 ? set : kQtLargestGlyphImage;
    }();
    return size;
}

// The tables FreeType needs to read outlines; the rest (character maps, layout, hinting) are not
// needed once the glyphs are chosen.
const char* const kOutlineTables[] = {"head", "hhea", "hmtx", "maxp", "OS/2",
                                      "name", "loca", "glyf", "CFF ", "CFF2"};

// A font file holding the given tables, sorted by tag as the format asks.
QByteArray sfntFile(const std::vector<std::pair<QByteArray, QByteArray>>& tables, bool cff)
{
    QByteArray file;
    auto put = [&file](quint32 value, int bytes) {
        for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8) file.append(char(value >> shift));
    };
    const int count = int(tables.size());
    int power = 1, log2 = 0;
    while (power * 2 <= count) power *= 2, ++log2;
    put(cff ? 0x4F54544Fu : 0x00010000u, 4);  // "OTTO" or TrueType outlines
    put(count, 2);
    put(power * 16, 2);
    put(log2, 2);
    put(count * 16 - power * 16, 2);
    quint32 offset = 12 + 16 * quint32(count);
    for (const auto& [tag, bytes] : tables) {
        file.append(tag);
        put(0, 4);  // checksum: FreeType does not check it
        put(offset, 4);
        put(quint32(bytes.size()), 4);
        offset += (quint32(bytes.size()) + 3) & ~3u;
    }
    for (const auto& [tag, bytes] : tables) {
        file.append(bytes);
        while (file.size() % 4) file.append('\0');
    }
    return file;
}

int moveTo(const FT_Vector* to, void* user)
{
    auto* path = static_cast<QPainterPath*>(user);
    path->closeSubpath();
    path->moveTo(to->x / 64.0, to->y / 64.0);
    return 0;
}

int lineTo(const FT_Vector* to, void* user)
{
    static_cast<QPainterPath*>(user)->lineTo(to->x / 64.0, to->y / 64.0);
    return 0;
}

int conicTo(const FT_Vector* control, const FT_Vector* to, void* user)
{
    static_cast<QPainterPath*>(user)->quadTo(control->x / 64.0, control->y / 64.0, to->x / 64.0,
                                             to->y / 64.0);
    return 0;
}

int cubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user)
{
    static_cast<QPainterPath*>(user)->cubicTo(c1->x / 64.0, c1->y / 64.0, c2->x / 64.0,
                                              c2->y / 64.0, to->x / 64.0, to->y / 64.0);
    return 0;
}

// One face read from the tables Qt's engine holds, and the glyph outlines read from it so far.
struct OutlineFace {
    QByteArray file;  // FreeType reads from it for as long as the face lives
    FT_Face face = nullptr;
    QHash<quint64, QPainterPath> glyphs;  // font units, y up; keyed by glyph and made-up bold
    ~OutlineFace()
    {
        if (face) FT_Done_Face(face);
    }
};

// What the glyphs of one run need from its face.
struct RunOutlines {
    int unitsPerEm = 0;
    bool oblique = false;
    std::vector<QPainterPath> glyphs;  // font units, y up
};

// Faces by identity, shared by every thread; FreeType calls are made under the lock only.
class OutlineCache {
public:
    static OutlineCache& instance()
    {
        static OutlineCache cache;
        return cache;
    }

    bool read(const QRawFont& raw, const QList<quint32>& glyphs, RunOutlines& out)
    {
        const QByteArray key = raw.familyName().toUtf8() + '\n' + raw.styleName().toUtf8() + '\n' +
                               raw.fontTable("head") + raw.fontTable("maxp") +
                               raw.fontTable("hhea");
        const std::lock_guard lock(mutex_);
        OutlineFace* face = faceFor(key, raw);
        if (!face) return false;
        FT_Face ft = face->face;
        // The made-up bold and italic Qt gives a face that lacks them, by the same rules.
        const bool bold = raw.weight() >= QFont::Bold && !(ft->style_flags & FT_STYLE_FLAG_BOLD) &&
                          !FT_IS_FIXED_WIDTH(ft) && raw.pixelSize() < kQtLargestMadeUpBold;
        const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
        const bool embolden = bold && os2 && os2->usWeightClass < 700;
        out.unitsPerEm = ft->units_per_EM;
        out.oblique =
            raw.style() != QFont::StyleNormal && !(ft->style_flags & FT_STYLE_FLAG_ITALIC);
        out.glyphs.clear();
        out.glyphs.reserve(size_t(glyphs.size()));
        for (const quint32 glyph : glyphs) out.glyphs.push_back(outline(*face, glyph, embolden));
        return true;
    }

private:
    OutlineCache() { FT_Init_FreeType(&library_); }
    ~OutlineCache()
    {
        faces_.clear();
        if (library_) FT_Done_FreeType(library_);
    }

    OutlineFace* faceFor(const QByteArray& key, const QRawFont& raw)
    {
        auto found = faces_.constFind(key);
        if (found == faces_.cend()) {
            // Reopening costs a few milliseconds and gives the same outlines.
            if (faces_.size() >= kKeptFaces) faces_.clear();
            found = faces_.insert(key, open(raw));
        }
        return found->get();
    }

    // Null when the face cannot be read from its tables: no outline tables, or a variable face
    // whose instance the tables do not say.
    std::shared_ptr<OutlineFace> open(const QRawFont& raw)
    {
        if (!library_ || !raw.fontTable("fvar").isEmpty()) return nullptr;
        std::vector<std::pair<QByteArray, QByteArray>> tables;
        bool cff = false;
        for (const char* tag : kOutlineTables) {
            QByteArray bytes = raw.fontTable(tag);
            if (bytes.isEmpty()) continue;
            cff = cff || tag[0] == 'C';
            tables.emplace_back(QByteArray(tag), std::move(bytes));
        }
        auto face = std::make_shared<OutlineFace>();
        face->file = sfntFile(tables, cff);
        if (FT_New_Memory_Face(library_, reinterpret_cast<const FT_Byte*>(face->file.constData()),
                               FT_Long(face->file.size()), 0, &face->face) != 0) {
            face->face = nullptr;
            return nullptr;
        }
        if (!FT_IS_SCALABLE(face->face) || face->face->units_per_EM == 0) return nullptr;
        return face;
    }

    QPainterPath outline(OutlineFace& face, quint32 glyph, bool embolden)
    {
        const quint64 key = glyph | (quint64(embolden) << 32);
        auto found = face.glyphs.constFind(key);
        if (found != face.glyphs.cend()) return *found;
        QPainterPath path;
        FT_Face ft = face.face;
        if (FT_Load_Glyph(ft, glyph, FT_LOAD_NO_SCALE | FT_LOAD_IGNORE_TRANSFORM) == 0 &&
            ft->glyph->format == FT_GLYPH_FORMAT_OUTLINE) {
            FT_Outline& outline = ft->glyph->outline;
            // In 64ths of a font unit, where the made-up bold's strength is what Qt uses.
            for (int i = 0; i < outline.n_points; ++i) {
                outline.points[i].x *= 64;
                outline.points[i].y *= 64;
            }
            if (embolden) {
                const FT_Pos strength = FT_Pos(ft->units_per_EM) * 64 / 24;
                FT_Outline_EmboldenXY(&outline, strength, strength);
            }
            static const FT_Outline_Funcs funcs{moveTo, lineTo, conicTo, cubicTo, 0, 0};
            FT_Outline_Decompose(&outline, &funcs, &path);
            path.closeSubpath();
        }
        face.glyphs.insert(key, path);
        return path;
    }

    std::mutex mutex_;
    FT_Library library_ = nullptr;
    QHash<QByteArray, std::shared_ptr<OutlineFace>> faces_;
};

}  // namespace

bool drawnAsOutlines(const QGlyphRun& run)
{
    return run.rawFont().pixelSize() > largestGlyphImage();
}

std::optional<QPainterPath> glyphRunOutlines(const QGlyphRun& run, QPointF origin, int stretch)
{
    const QRawFont raw = run.rawFont();
    const QList<quint32> indexes = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    RunOutlines outlines;
    if (!raw.isValid() || !OutlineCache::instance().read(raw, indexes, outlines))
        return std::nullopt;
    // The engine's size in 64ths of a pixel, stretched as Qt stretches it.
    const qint64 ysize = qRound(raw.pixelSize() * 64);
    const qint64 xsize = ysize * (stretch > 0 ? stretch : 100) / 100;
    const double sx = double(xsize) / 64 / outlines.unitsPerEm;
    const double sy = double(ysize) / 64 / outlines.unitsPerEm;
    const QTransform slant =
        outlines.oblique ? QTransform(1, 0, kObliqueShear, 1, 0, 0) : QTransform();
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (qsizetype i = 0; i < indexes.size() && i < positions.size(); ++i) {
        const QPainterPath& glyph = outlines.glyphs[size_t(i)];
        if (glyph.isEmpty()) continue;
        // Glyphs are placed on 64ths of a pixel, as Qt places them.
        const QPointF at = origin + positions[i];
        const QTransform place(sx, 0, 0, -sy, std::round(at.x() * 64) / 64,
                               std::round(at.y() * 64) / 64);
        path.addPath((slant * place).map(glyph));
    }
    return path;
}

void drawStampGlyphRun(QPainter& painter, const QGlyphRun& run, QPointF origin, int stretch)
{
    if (drawnAsOutlines(run)) {
        if (const std::optional<QPainterPath> path = glyphRunOutlines(run, origin, stretch)) {
            painter.save();
            painter.setRenderHint(QPainter::Antialiasing, true);
            painter.fillPath(*path, painter.pen().brush());
            painter.restore();
            return;
        }
    }
    painter.drawGlyphRun(origin, run);
}

}  // namespace orvello
