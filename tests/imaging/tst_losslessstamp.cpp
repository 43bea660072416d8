// Stamping a JPEG without compressing it again: every block away from the stamps decodes to
// exactly what the photo (losslessly turned) decodes to, the stamps look as a full re-encode
// draws them, and a photo that cannot be done so is refused with the reason.
#include "components/exifreader.h"
#include "components/jpegwriter.h"
#include "imaging/colourprofile.h"
#include "imaging/losslessjpeg.h"
#include "imaging/losslessrestore.h"
#include "imaging/losslessstamp.h"
#include "tests/support/jpegprobe.h"
#include "tools/fixtures/photowriter.h"
#include "tools/fixtures/variantwriter.h"

#include <turbojpeg.h>
#include <QPainter>
#include <QtTest>

using namespace orvello;
using namespace orvello::probe;

Q_DECLARE_METATYPE(orvello::PictureTurn)

namespace {

enum class Coding { Standard, Optimized, Progressive };

// The pixels at quality 90 with TurboJPEG's standard tables.
QByteArray compressed(const QImage& pixels, int subsampling, int flags = 0)
{
    tjhandle tj = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    const int rc = tjCompress2(tj, pixels.constBits(), pixels.width(), int(pixels.bytesPerLine()),
                               pixels.height(), TJPF_BGRX, &out, &outSize, subsampling, 90, flags);
    QByteArray jpeg =
        rc == 0 ? QByteArray(reinterpret_cast<char*>(out), qsizetype(outSize)) : QByteArray();
    tjFree(out);
    tjDestroy(tj);
    return jpeg;
}

QByteArray sourceJpeg(QSize size, int subsampling, Coding coding)
{
    const QImage pixels = grainyPhoto(size);
    if (coding == Coding::Optimized) {
        JpegOptions optimized;
        optimized.quality = 90;
        optimized.fullChroma = subsampling == TJSAMP_444;
        optimized.optimizeCoding = true;
        return encodeJpeg(pixels, optimized);
    }
    return compressed(pixels, subsampling, coding == Coding::Progressive ? TJFLAG_PROGRESSIVE : 0);
}

// A stamp that needs no font: strokes of one strong colour, as thick as a date's segments.
void drawStamp(QImage& picture, QPoint offset, const QList<QRect>& ink)
{
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(-offset);
    p.setPen(QPen(QColor(250, 200, 40), 5));
    for (const QRect& r : ink) {
        const QRect box = r.adjusted(6, 6, -6, -6);
        for (int x = box.left(); x + 20 < box.right(); x += 26)
            p.drawPolyline(QPolygon({QPoint(x, box.top()), QPoint(x + 18, box.top()),
                                     QPoint(x + 18, box.bottom()), QPoint(x, box.bottom())}));
    }
}

// The picture encoded whole at the photo's quality and sampling: the best any copy in the
// photo's own format can look.
QImage throughFormat(const QImage& picture, int subsampling)
{
    return decode(compressed(picture, subsampling));
}

QList<QRect> grown(const QList<QRect>& rects, int by)
{
    QList<QRect> out;
    for (const QRect& r : rects) out << r.adjusted(-by, -by, by, by);
    return out;
}

}  // namespace

class LosslessStampTest : public QObject {
    Q_OBJECT

private slots:
    void copiesBlocksAwayFromTheStamps_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("subsampling");
        QTest::addColumn<int>("coding");
        QTest::addColumn<PictureTurn>("turn");
        const auto add = [](const char* name, QSize size, int sub, Coding coding, PictureTurn t) {
            QTest::newRow(name) << size << sub << int(coding) << t;
        };
        add("4:2:0, as stored", QSize(960, 640), TJSAMP_420, Coding::Standard, {});
        add("4:2:0, ragged edges, as stored", QSize(965, 643), TJSAMP_420, Coding::Standard, {});
        add("4:2:0, left", QSize(960, 640), TJSAMP_420, Coding::Standard, PictureTurn::left());
        add("4:2:0, right, ragged width", QSize(965, 640), TJSAMP_420, Coding::Standard,
            PictureTurn::right());
        add("4:2:0, mirrored (orientation 2)", QSize(960, 640), TJSAMP_420, Coding::Standard,
            PictureTurn::fromOrientation(2));
        add("4:2:0, transposed, ragged (orientation 5)", QSize(965, 643), TJSAMP_420,
            Coding::Standard, PictureTurn::fromOrientation(5));
        add("4:2:2, left", QSize(960, 640), TJSAMP_422, Coding::Standard, PictureTurn::left());
        add("grey, ragged width, right", QSize(965, 640), TJSAMP_GRAY, Coding::Standard,
            PictureTurn::right());
        add("4:2:0 optimised, upside down", QSize(960, 640), TJSAMP_420, Coding::Optimized,
            PictureTurn{false, 2});
        add("4:4:4 optimised, right", QSize(960, 640), TJSAMP_444, Coding::Optimized,
            PictureTurn::right());
        add("4:2:0 progressive, left", QSize(960, 640), TJSAMP_420, Coding::Progressive,
            PictureTurn::left());
        add("4:4:4, upside down mirrored (orientation 4)", QSize(960, 640), TJSAMP_444,
            Coding::Standard, PictureTurn::fromOrientation(4));
        add("4:2:0 progressive, transverse (orientation 7)", QSize(960, 640), TJSAMP_420,
            Coding::Progressive, PictureTurn::fromOrientation(7));
    }
    void copiesBlocksAwayFromTheStamps()
    {
        QFETCH(QSize, size);
        QFETCH(int, subsampling);
        QFETCH(int, coding);
        QFETCH(PictureTurn, turn);
        const QByteArray source = sourceJpeg(size, subsampling, Coding(coding));
        QVERIFY(!source.isEmpty());
        const QSize out = turn.turnedSize(size);
        // A date near the lower right (reaching the ragged edge) and a title near the top, about
        // the share of the picture real stamps take.
        const QList<QRect> ink = {QRect(out.width() - 240, out.height() - 40, 240, 40),
                                  QRect(out.width() / 4 + 3, 37, 200, 36)};
        LosslessStampJob job{
            source,  turn, ink, [&](QImage& region, QPoint at) { drawStamp(region, at, ink); },
            nullptr, {}};
        job.restoreData = true;
        const LosslessStampResult result = stampLosslessly(job);
        QCOMPARE(result.reason, QString());
        QCOMPARE(int(result.status), int(LosslessStampResult::Status::Done));

        // The frame and coding of the photo, turned.
        const lossless::SourceFacts from = lossless::readSourceFacts(source);
        const lossless::SourceFacts copy = lossless::readSourceFacts(result.jpeg);
        QCOMPARE(QSize(copy.width, copy.height), out);
        QCOMPARE(QSize(copy.mcuWidth, copy.mcuHeight),
                 turn.turnedSize(QSize(from.mcuWidth, from.mcuHeight)));
        QCOMPARE(copy.progressive, from.progressive);
        QCOMPARE(copy.optimized, from.optimized);

        // Away from the re-encoded MCUs, every pixel is the plainly turned photo's. Fancy
        // upsampling lets a chroma sample reach one pixel beyond its block.
        const QByteArray turned = plainTurn(source, turn);
        QCOMPARE(changedOutside(decode(result.jpeg, TJFLAG_FASTUPSAMPLE),
                                decode(turned, TJFLAG_FASTUPSAMPLE), result.reencoded),
                 0);
        QCOMPARE(changedOutside(decode(result.jpeg), decode(turned), grown(result.reencoded, 1)),
                 0);
        for (const QRect& r : result.reencoded) {
            QCOMPARE(r.x() % copy.mcuWidth, 0);
            QCOMPARE(r.y() % copy.mcuHeight, 0);
        }
        // Taking the stamps off gives the turned photo's coefficients back: the very same pixels.
        const RestoreResult restored = restoreStamp(result.jpeg);
        QCOMPARE(restored.reason, QString());
        QCOMPARE(decode(restored.jpeg), decode(turned));

        // The stamps look as drawing on the whole decoded picture makes them, as near as the
        // photo's own quality and sampling allow.
        QImage ideal = turn.applied(decode(source));
        drawStamp(ideal, {}, ink);
        const int sampling =
            subsampling == TJSAMP_422 && turn.swapsSides() ? TJSAMP_440 : subsampling;
        const QImage best = throughFormat(ideal, sampling);
        const QImage stamped = decode(result.jpeg);
        for (const QRect& r : ink) {
            const double got = meanDifference(stamped, ideal, r);
            const double floor = meanDifference(best, ideal, r);
            QVERIFY2(got < floor * 1.25 + 0.5,
                     qPrintable(QStringLiteral("%1 against %2").arg(got).arg(floor)));
        }
        // What the copy adds to the photo's size is the stamps' own detail: with nothing drawn,
        // the same pieces encoded again leave it as it was.
        const LosslessStampResult blank =
            stampLosslessly({source, turn, ink, nullptr, nullptr, {}});
        QVERIFY2(qAbs(blank.jpeg.size() - source.size()) < source.size() / 100,
                 qPrintable(QStringLiteral("%1 → %2").arg(source.size()).arg(blank.jpeg.size())));
    }

    // The copy's header is what it is given, written as the full re-encode writes it; nothing
    // of the photo's own metadata slips through, so no stale orientation can mislead a viewer.
    void writesTheHeaderItIsGiven()
    {
        fixtures::ExifContent exif;
        exif.dateTimeOriginal = QStringLiteral("2021:03:04 05:06:07");
        exif.extra << fixtures::ExifEntry::shorts(fixtures::Dir::Image, 0x0112, {6});
        const QByteArray source =
            fixtures::makeJpeg(grainyPhoto({320, 240}), exif, 90, fixtures::Chroma::Half420);
        QByteArray profile(150000, Qt::Uninitialized);
        for (int i = 0; i < profile.size(); ++i) profile[i] = char(i * 31 + 7);
        const QByteArray xmp = "http://ns.adobe.com/xap/1.0/" + QByteArray(1, 0) + "<x:xmpmeta/>";

        LosslessStampJob job{source, PictureTurn::fromOrientation(6), {}, {}, nullptr, {}};
        job.markers.iccProfile = profile;
        job.markers.density = {1, 150, 300};
        job.markers.segments = {{0xE1, xmp}};
        const LosslessStampResult result = stampLosslessly(job);
        QCOMPARE(int(result.status), int(LosslessStampResult::Status::Done));
        const JpegHeaderFacts copy = readJpegHeaderFacts(result.jpeg);
        QCOMPARE(copy.iccProfile, profile);
        QCOMPARE(copy.density, (PixelDensity{1, 150, 300}));
        QVERIFY(result.jpeg.contains(xmp));
        QVERIFY(findExifBlock(result.jpeg).isEmpty());
        QVERIFY(!findExifBlock(source).isEmpty());
    }

    // What cannot be copied losslessly says why; damage is a failure, never a copy.
    void refusesWhatItCannotCopy_data()
    {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<PictureTurn>("turn");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("reason");
        using S = LosslessStampResult::Status;
        const QByteArray ragged = sourceJpeg({965, 643}, TJSAMP_420, Coding::Standard);
        QTest::newRow("left turn, width not whole MCUs")
            << ragged << PictureTurn::left() << int(S::NotPossible) << QStringLiteral("965 × 643");
        QTest::newRow("upside down, ragged")
            << ragged << PictureTurn{false, 2} << int(S::NotPossible) << QStringLiteral("边缘");
        fixtures::JpegVariant cmyk;
        cmyk.colour = fixtures::JpegVariant::Colour::Cmyk;
        QTest::newRow("CMYK photo")
            << fixtures::makeJpegLayout(grainyPhoto({320, 240}), cmyk) << PictureTurn{}
            << int(S::NotPossible) << QStringLiteral("彩色");
        fixtures::JpegVariant oddlySampled;
        oddlySampled.sampling = {{3, 1}};
        QTest::newRow("sampling the transform cannot take")
            << fixtures::makeJpegLayout(grainyPhoto({320, 240}), oddlySampled) << PictureTurn{}
            << int(S::NotPossible) << QStringLiteral("3x1,1x1,1x1");
        const QByteArray whole = sourceJpeg({960, 640}, TJSAMP_420, Coding::Standard);
        QTest::newRow("cut short")
            << whole.left(whole.size() / 2) << PictureTurn::left() << int(S::Failed) << QString();
        QTest::newRow("not a JPEG") << QByteArray("II*\0 not a photo at all", 24) << PictureTurn{}
                                    << int(S::Failed) << QString();
    }
    void refusesWhatItCannotCopy()
    {
        QFETCH(QByteArray, source);
        QFETCH(PictureTurn, turn);
        QFETCH(int, status);
        QFETCH(QString, reason);
        const QList<QRect> ink = {QRect(10, 10, 100, 40)};
        const LosslessStampResult result = stampLosslessly(
            {source, turn, ink, [](QImage& region, QPoint) { region.fill(0); }, nullptr, {}});
        QCOMPARE(int(result.status), status);
        QVERIFY(result.jpeg.isEmpty());
        QVERIFY(!result.reason.isEmpty());
        QVERIFY2(result.reason.contains(reason), qPrintable(result.reason));
    }

    // Turns add up as the picture's own pixels do.
    void composesTurns()
    {
        const QImage picture = grainyPhoto({7, 5});
        for (int a = 0; a < 8; ++a)
            for (int b = 0; b < 8; ++b) {
                const PictureTurn first{a >= 4, a % 4}, second{b >= 4, b % 4};
                QCOMPARE(first.then(second).applied(picture),
                         second.applied(first.applied(picture)));
            }
        // Orientation 6 is stored turned left: turning it right makes it upright.
        QCOMPARE(PictureTurn::fromOrientation(6), PictureTurn::right());
        QCOMPARE(PictureTurn::fromOrientation(8).then(PictureTurn::right()), PictureTurn{});
    }
};

QTEST_MAIN(LosslessStampTest)
#include "tst_losslessstamp.moc"
