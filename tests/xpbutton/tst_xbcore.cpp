// The UI-free parts of XPButton: colour arithmetic, system colours, access keys, property store.
#include "tests/xpbutton/knownpalette.h"
#include "xpbutton/accesskey.h"
#include "xpbutton/propertystore.h"
#include "xpbutton/xbcolor.h"

#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QtTest>

using namespace orvello;

class XbCoreTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QGuiApplication::setPalette(test::knownPalette()); }

    // --- ShiftColor ------------------------------------------------------------------------
    void shiftColorKnownValues()
    {
        QCOMPARE(ShiftColor(0xFFFFFF, -32), OleColor(0xE0E0DF));
        QCOMPARE(ShiftColor(0x808080, 0), OleColor(0x818180));  // 255 and 65280 divisors
        QCOMPARE(ShiftColor(0xFFFFFF, -32, true), OleColor(0xD6E0DF));
    }

    void shiftColorRoundsAndClamps()
    {
        QCOMPARE(ShiftColor(0x8C7864, 48, true), OleColor(0xB0A894));
        QCOMPARE(ShiftColor(0xB0A894, -32, true), OleColor(0x948974));  // (−5664) \ 192 = −29
        QCOMPARE(ShiftColor(0x808080, 12), OleColor(0x8D8D8C));
        QCOMPARE(ShiftColor(0x808080, -16), OleColor(0x717170));
        QCOMPARE(ShiftColor(0x808080, 16, true), OleColor(0x8B9190));
        QCOMPARE(ShiftColor(0x000040, -300), OleColor(0));         // clamped at 0
        QCOMPARE(ShiftColor(0xFFFFFF, 300), OleColor(0xFFFFFF));   // clamped at 255
        QCOMPARE(ShiftColor(0x000040, 65536 - 100), OleColor(0));  // the delta is 16-bit: −100
    }

    void shiftColorInvertAndAvoidBlackWhite()
    {
        QCOMPARE(ShiftColor(0x102030, 10, false, false, true), OleColor(0xE5D5C5));
        QCOMPARE(ShiftColor(0xFFFFFF, 32, false, true), OleColor(0xE0E0DF));  // white: d negated
        QCOMPARE(ShiftColor(0x000000, 0, false, true), OleColor(0x404040));   // d 0 becomes 64
        QCOMPARE(ShiftColor(0x000000, 0, false, false), OleColor(0));
    }

    // --- ToRGB and the system colour table ---------------------------------------------------
    void toRgbLeavesRgbValues()
    {
        QCOMPARE(ToRGB(0x123456), OleColor(0x123456));
        QCOMPARE(ToRGB(0), OleColor(0));
    }

    void systemColoursFollowThePalette()
    {
        QCOMPARE(ToRGB(0x8000000F), test::kKnownButtonFace);                   // 15 button face
        QCOMPARE(ToRGB(0x80000012), OleColor(1 + 2 * 256 + 3 * 65536));        // 18 button text
        QCOMPARE(ToRGB(0x80000005), OleColor(250 + 251 * 256 + 252 * 65536));  // 5 window
        QCOMPARE(ToRGB(0x80000008), OleColor(4 + 5 * 256 + 6 * 65536));        // 8 window text
        QCOMPARE(ToRGB(0x8000000D), OleColor(10 + 20 * 256 + 30 * 65536));     // 13 highlight
        QCOMPARE(ToRGB(0x80000011), OleColor(130 + 131 * 256 + 132 * 65536));  // 17 grey text
        QCOMPARE(ToRGB(0x80000010), OleColor(90 + 91 * 256 + 92 * 65536));     // 16 button shadow
        QCOMPARE(ToRGB(0x80000014), OleColor(253 + 254 * 256 + 255 * 65536));  // 20 highlight
        QCOMPARE(ToRGB(0x80000018), OleColor(255 + 255 * 256 + 200 * 65536));  // 24 info back
    }

    void systemColoursWithoutARoleAreClassic()
    {
        QCOMPARE(ToRGB(0x80000002), OleColor(10 + 36 * 256 + 106 * 65536));   // active caption
        QCOMPARE(ToRGB(0x80000001), OleColor(58 + 110 * 256 + 165 * 65536));  // desktop
        QCOMPARE(ToRGB(0x800000FF), OleColor(0));                             // unknown index
        QCOMPARE(ToRGB(0x8000010F), test::kKnownButtonFace);  // only the low byte counts
    }

    void colourConversions()
    {
        QCOMPARE(toQColor(0x8C7864), QColor(100, 120, 140));
        QCOMPARE(toQColor(0x8000000F), QColor(100, 120, 140));
        QCOMPARE(fromQColor(QColor(1, 2, 3)), OleColor(0x030201));
    }

    // --- Access keys --------------------------------------------------------------------------
    void accessKeys()
    {
        QCOMPARE(accessKeyFromCaption(QStringLiteral("&File")),
                 std::optional<QString>(QStringLiteral("F")));
        QCOMPARE(accessKeyFromCaption(QStringLiteral("Save &As")),
                 std::optional<QString>(QStringLiteral("A")));
        QVERIFY(!accessKeyFromCaption(QStringLiteral("Fish && Chips")));
        QVERIFY(!accessKeyFromCaption(QStringLiteral("Plain")));
        QVERIFY(!accessKeyFromCaption(QString()));
        QCOMPARE(accessKeyFromCaption(QStringLiteral("&A&B")),
                 std::optional<QString>(QStringLiteral("B")));  // the last
        QCOMPARE(accessKeyFromCaption(QStringLiteral("&A && B")),
                 std::optional<QString>(QStringLiteral("A")));
        QCOMPARE(accessKeyFromCaption(QStringLiteral("&&&X")),
                 std::optional<QString>(QStringLiteral("X")));
        QCOMPARE(accessKeyFromCaption(QStringLiteral("End&")),
                 std::optional<QString>(QString()));  // empty
        QCOMPARE(accessKeyFromCaption(QStringLiteral("打开(&O)")),
                 std::optional<QString>(QStringLiteral("O")));
    }

    // --- Property store -------------------------------------------------------------------------
    void storeKeysIgnoreCase()
    {
        PropertyStore s;
        s.writeInt32(QStringLiteral("cBhover"), 5);
        QCOMPARE(s.readInt32(QStringLiteral("cBHover"), 0), 5);
        QCOMPARE(s.readInt32(QStringLiteral("CBHOVER"), 0), 5);
        s.writeInt32(QStringLiteral("CBHOVER"), 6);
        QCOMPARE(s.keys(), QStringList{QStringLiteral("cBhover")});  // one entry, first spelling
        QCOMPARE(s.readInt32(QStringLiteral("cbhover"), 0), 6);
    }

    void storeOmitsDefaultsAndReadsDefaults()
    {
        PropertyStore s;
        s.writeInt32(QStringLiteral("CapAlign"), 2, 2);
        s.writeText(QStringLiteral("Caption"), QString(), QString());
        s.writeBool(QStringLiteral("Focus"), true, true);
        s.writeInt16(QStringLiteral("ImgSize"), 16, 16);
        s.writePicture(QStringLiteral("Image"), XbPicture());
        QVERIFY(s.isEmpty());
        QCOMPARE(s.readInt32(QStringLiteral("CapAlign"), 2), 2);
        QCOMPARE(s.readText(QStringLiteral("Caption"), QStringLiteral("x")), QStringLiteral("x"));
        QVERIFY(s.readBool(QStringLiteral("Focus"), true));
        QVERIFY(s.readPicture(QStringLiteral("Image")).isNull());
        s.writeInt32(QStringLiteral("CapAlign"), 0, 2);
        QCOMPARE(s.readInt32(QStringLiteral("CapAlign"), 2), 0);
        s.writeInt32(QStringLiteral("CapAlign"), 2, 2);  // back at its default: the key goes
        QVERIFY(!s.contains(QStringLiteral("capalign")));
        s.writeInt32(QStringLiteral("Mode"), 0);  // no default: always written
        QVERIFY(s.contains(QStringLiteral("Mode")));
    }

    void storeTypesAndConversions()
    {
        PropertyStore s;
        s.writeInt16(QStringLiteral("a"), 99);
        s.writeInt32(QStringLiteral("b"), 70000);
        s.writeBool(QStringLiteral("c"), true);
        s.writeText(QStringLiteral("d"), QStringLiteral("12"));
        QCOMPARE(s.typeOf(QStringLiteral("a")), std::optional(PropertyStore::Type::Int16));
        QCOMPARE(s.typeOf(QStringLiteral("b")), std::optional(PropertyStore::Type::Int32));
        QCOMPARE(s.readInt32(QStringLiteral("a"), 0), 99);
        QCOMPARE(s.readInt16(QStringLiteral("c"), 0), qint16(-1));  // true is −1
        QCOMPARE(s.readInt32(QStringLiteral("d"), 0), 12);
        QVERIFY_THROWS_EXCEPTION(PropertyStoreError, s.readInt16(QStringLiteral("b"), 0));
        s.writeText(QStringLiteral("e"), QStringLiteral("abc"));
        QVERIFY_THROWS_EXCEPTION(PropertyStoreError, s.readInt32(QStringLiteral("e"), 0));
        QVERIFY_THROWS_EXCEPTION(PropertyStoreError, s.readFont(QStringLiteral("b"), QFont()));
    }

    void storeJsonRoundTrip()
    {
        QImage img(5, 3, QImage::Format_ARGB32);
        img.fill(QColor(10, 200, 30, 255));
        img.setPixelColor(1, 1, QColor(0, 0, 0, 0));
        QFont font(QStringLiteral("Noto Sans"));
        font.setPointSizeF(9);
        font.setBold(true);

        PropertyStore s;
        s.writeText(QStringLiteral("Caption"), QStringLiteral("打开照片文件"));
        s.writeInt32(QStringLiteral("cBack"), qint32(0x8000000F));
        s.writeInt16(QStringLiteral("mPointer"), 99);
        s.writeBool(QStringLiteral("Value"), false);
        s.writeFont(QStringLiteral("Font"), font);
        s.writePicture(QStringLiteral("Image"), XbPicture(img));
        s.writePicture(QStringLiteral("mIcon"),
                       XbPicture(img, XbPicture::Type::Cursor, QPoint(2, 1)));

        const QByteArray text = QJsonDocument(s.toJson()).toJson();
        const PropertyStore r = PropertyStore::fromJson(QJsonDocument::fromJson(text).object());
        QCOMPARE(r.readText(QStringLiteral("caption")), QStringLiteral("打开照片文件"));
        QCOMPARE(OleColor(r.readInt32(QStringLiteral("cback"), 0)), OleColor(0x8000000F));
        QCOMPARE(r.readInt16(QStringLiteral("mpointer"), 0), qint16(99));
        QCOMPARE(r.readBool(QStringLiteral("value"), true), false);
        const QFont f = r.readFont(QStringLiteral("font"), QFont());
        QCOMPARE(f.family(), QStringLiteral("Noto Sans"));
        QCOMPARE(f.pointSizeF(), 9.0);
        QVERIFY(f.bold());
        QVERIFY(!f.italic());
        const XbPicture p = r.readPicture(QStringLiteral("image"));
        QCOMPARE(p, XbPicture(img));
        QCOMPARE(p.image.pixelColor(1, 1).alpha(), 0);
        const XbPicture icon = r.readPicture(QStringLiteral("micon"));
        QCOMPARE(icon.type, XbPicture::Type::Cursor);
        QCOMPARE(icon.hotSpot, QPoint(2, 1));
        // The picture lives in the store as PNG data.
        const auto stored =
            std::get<PropertyStore::StoredPicture>(*s.value(QStringLiteral("Image")));
        QVERIFY(stored.png.startsWith("\x89PNG"));
    }

    void storeJsonForms()
    {
        const QByteArray design = R"({
            "caption": "大", "capalign": 2, "backstyle": 2, "cback": 2147483663,
            "value": false, "mode": 0, "mpointer": 99,
            "font": {"font": {"name": "宋体", "size": 9, "charset": 134}}
        })";
        const PropertyStore s = PropertyStore::fromJson(QJsonDocument::fromJson(design).object());
        QCOMPARE(OleColor(s.readInt32(QStringLiteral("cBack"), 0)), OleColor(0x8000000F));
        QCOMPARE(s.readInt32(QStringLiteral("BackStyle"), 0), 2);
        QCOMPARE(s.readFont(QStringLiteral("Font"), QFont()).pointSizeF(), 9.0);
        QCOMPARE(std::get<PropertyStore::StoredFont>(*s.value(QStringLiteral("font"))).charset,
                 134);
        QVERIFY_THROWS_EXCEPTION(PropertyStoreError,
                                 PropertyStore::fromJson(QJsonObject{{"x", QJsonArray{}}}));
    }
};

QTEST_MAIN(XbCoreTest)
#include "tst_xbcore.moc"
