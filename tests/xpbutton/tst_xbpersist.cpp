// XPButton's persistence: initialise, read and write with their keys, defaults and order, the
// resize and terminate handlers; and the option groups of a container.
#include "tests/xpbutton/testhost.h"
#include "xpbutton/xpbutton.h"

#include <QApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>
#include <memory>

using namespace orvello;
using test::XbTestHost;

namespace {

XbPicture picture(QColor c, int w = 24, int h = 24, XbPicture::Type t = XbPicture::Type::Bitmap)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(c);
    return XbPicture(img, t, t == XbPicture::Type::Cursor ? QPoint(3, 4) : QPoint());
}

PropertyStore throughJson(const PropertyStore& s)
{
    const QByteArray text = QJsonDocument(s.toJson()).toJson(QJsonDocument::Compact);
    return PropertyStore::fromJson(QJsonDocument::fromJson(text).object());
}

QVariant member(QObject* c, int k)
{
    return c->property(("xb_Obj" + QByteArray::number(k)).constData());
}

qulonglong id(const XPButton* b)
{
    return qulonglong(reinterpret_cast<quintptr>(b));
}

}  // namespace

class XbPersistTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QWidget> container;
    XbTestHost host;

    XPButton* make()
    {
        auto* b = new XPButton(container.get(), &host);
        b->resize(100, 25);
        return b;
    }
    XPButton* option(bool selected = false)
    {
        XPButton* b = make();
        b->initProperties();
        b->setMode(2);
        if (selected) b->setValue(true);
        return b;
    }
    int optCount() const { return container->property("xb_OptCount").toInt(); }

private slots:
    void initTestCase() { QApplication::setPalette(test::knownPalette()); }
    void init()
    {
        container = std::make_unique<QWidget>();
        host = XbTestHost();
        host.container = container.get();
    }
    void cleanup() { container.reset(); }

    // --- Initialise ----------------------------------------------------------------------------
    void initialiseSetsItsFieldsAndMarks()
    {
        host.ambientBack = 0x80000005;  // resolved at once
        XPButton* b = make();
        b->initProperties();
        QCOMPARE(b->containerKey(), QString::number(reinterpret_cast<quintptr>(container.get())));
        QCOMPARE(b->caption(), QStringLiteral("XPButton1"));
        QCOMPARE(b->captionAlign(), 2);
        QVERIFY(b->showFocusRect());
        QCOMPARE(b->hoverForeColor(), OleColor(0x80000012));
        QCOMPARE(b->hoverBackColor(), OleColor(0x8000000F));
        QCOMPARE(b->backColor(), OleColor(0x8000000F));  // not resolved
        QCOMPARE(b->ambientBackColor(), OleColor(250 + 251 * 256 + 252 * 65536));
        QCOMPARE(b->faceColor(), test::kKnownButtonFace);
        QCOMPARE(b->gradientColor(), OleColor(0));
        QCOMPARE(b->storedPictureSize(), 0);
        QCOMPARE(b->foreColor(), OleColor(0x80000012));
        QCOMPARE(host.marks, QStringList({"Caption", "CapAlign", "Focus", "cFHover", "cBHover"}));
    }

    void freshInstanceWritesExactlyTheListedKeys()
    {
        XPButton* b = make();
        b->initProperties();
        PropertyStore s;
        b->writeProperties(s);
        QCOMPARE(s.keys(), QStringList({"Caption", "Font", "cGradient", "Mode", "Value", "ImgSize",
                                        "cBack"}));
        QCOMPARE(s.readText(QStringLiteral("Caption")), QStringLiteral("XPButton1"));
        QCOMPARE(s.readInt32(QStringLiteral("cGradient"), -1), 0);
        QCOMPARE(s.readInt32(QStringLiteral("Mode"), -1), 0);
        QCOMPARE(s.readBool(QStringLiteral("Value"), true), false);
        QCOMPARE(s.typeOf(QStringLiteral("ImgSize")), std::optional(PropertyStore::Type::Int16));
        QCOMPARE(s.readInt16(QStringLiteral("ImgSize"), -1), qint16(0));
        QCOMPARE(OleColor(s.readInt32(QStringLiteral("cBack"), 0)), OleColor(0x8000000F));
        QCOMPARE(s.typeOf(QStringLiteral("Font")), std::optional(PropertyStore::Type::Font));
    }

    void readingThePictureSizeOrSettingAPictureOmitsImgSize()
    {
        XPButton* a = make();
        a->initProperties();
        QCOMPARE(a->pictureSize(), 0);
        PropertyStore s;
        a->writeProperties(s);
        QVERIFY(!s.contains(QStringLiteral("ImgSize")));

        XPButton* b = make();
        b->initProperties();
        b->setPicture(picture(Qt::green));
        PropertyStore t;
        b->writeProperties(t);
        QVERIFY(!t.contains(QStringLiteral("ImgSize")));
        QVERIFY(t.contains(QStringLiteral("Image")));
    }

    // --- Write and read
    // ---------------------------------------------------------------------------
    void everyKeyRoundTrips()
    {
        XPButton* a = make();
        a->initProperties();
        a->setCaption(QStringLiteral("标题&T"));
        a->setPictureAlign(3);
        a->setCaptionAlign(0);
        a->setButtonStyle(5);
        a->setButtonShape(2);
        QFont f(QStringLiteral("Noto Sans"));
        f.setPointSizeF(11);
        f.setItalic(true);
        a->setFont(f);
        a->setForeColor(0x0000C0);
        a->setBackColor(0x303030);
        a->setGradientMode(4);
        a->setGradientColor(0x8000000D);
        a->setHoverForeColor(0x00C000);
        a->setHoverBackColor(0xC00000);
        a->setShowFocusRect(false);
        a->setCaptionStyle(1);
        a->setMode(1);
        a->setValue(true);
        a->setPicture(picture(Qt::yellow, 8, 6));
        a->setPictureSize(3);
        a->setEnabled(false);
        a->setMouseIcon(picture(Qt::cyan, 32, 32, XbPicture::Type::Cursor));
        QCOMPARE(a->hoverColorLocks(), 3);

        PropertyStore s;
        a->writeProperties(s);
        QCOMPARE(
            s.keys(),
            QStringList({"Caption",  "CapAlign", "BackStyle", "Shape",     "Font",      "cFore",
                         "cFHover",  "cBhover",  "Focus",     "LockHover", "cGradient", "Gradient",
                         "CapStyle", "Mode",     "Value",     "ImgAlign",  "Image",     "ImgSize",
                         "Enabled",  "cBack",    "mPointer",  "mIcon"}));
        const PropertyStore stored = throughJson(s);

        host.forget();
        XPButton* b = make();
        b->readProperties(stored);
        QCOMPARE(b->caption(), a->caption());
        QCOMPARE(b->accessKeys(), QStringLiteral("T"));
        QCOMPARE(b->captionAlign(), 0);
        QCOMPARE(b->buttonStyle(), 5);
        QCOMPARE(b->buttonShape(), 2);
        QCOMPARE(b->font().family(), QStringLiteral("Noto Sans"));
        QCOMPARE(b->font().pointSizeF(), 11.0);
        QVERIFY(b->font().italic());
        QCOMPARE(b->foreColor(), OleColor(0x0000C0));
        QCOMPARE(b->hoverForeColor(), OleColor(0x00C000));
        QCOMPARE(b->hoverBackColor(), OleColor(0xC00000));
        QCOMPARE(b->showFocusRect(), false);
        QCOMPARE(b->hoverColorLocks(), 3);
        QCOMPARE(b->gradientColor(), OleColor(0x8000000D));
        QCOMPARE(b->gradientMode(), 4);
        QCOMPARE(b->captionStyle(), 1);
        QCOMPARE(b->mode(), 1);
        QVERIFY(b->value());
        QCOMPARE(b->pictureAlign(), 3);
        QCOMPARE(b->picture(), a->picture());
        QCOMPARE(b->pictureWidth(), 8);
        QCOMPARE(b->storedPictureSize(), 40);
        QVERIFY(!b->enabledState());
        QCOMPARE(b->backColor(), OleColor(0x303030));
        QCOMPARE(b->mousePointer(), 99);
        QCOMPARE(b->mouseIcon(), a->mouseIcon());
        QCOMPARE(b->mouseIcon().hotSpot, QPoint(3, 4));
        QCOMPARE(b->faceColor(), a->faceColor());

        PropertyStore again;
        b->writeProperties(again);
        QCOMPARE(QJsonDocument(again.toJson()).toJson(), QJsonDocument(s.toJson()).toJson());
    }

    void captionAlignmentZeroIsWrittenTwoIsOmitted()
    {
        XPButton* a = make();
        a->initProperties();
        a->setCaptionAlign(0);
        PropertyStore s;
        a->writeProperties(s);
        QCOMPARE(s.readInt32(QStringLiteral("CapAlign"), -1), 0);
        XPButton* b = make();
        b->readProperties(s);
        QCOMPARE(b->captionAlign(), 0);

        a->setCaptionAlign(2);
        PropertyStore t;
        a->writeProperties(t);
        QVERIFY(!t.contains(QStringLiteral("CapAlign")));
        b->readProperties(t);
        QCOMPARE(b->captionAlign(), 2);
    }

    void theWriterSpellsCBhover()
    {
        XPButton* a = make();
        a->initProperties();
        a->setHoverBackColor(0x010203);
        PropertyStore s;
        a->writeProperties(s);
        QVERIFY(s.keys().contains(QStringLiteral("cBhover")));
        QCOMPARE(s.readInt32(QStringLiteral("cBHover"), 0), 0x010203);
    }

    void missingKeysTakeTheReadersDefaults()
    {
        host.containerBack = 0x0A0B0C;
        XPButton* b = make();
        b->readProperties(PropertyStore());
        QCOMPARE(b->caption(), QString());
        QCOMPARE(b->captionAlign(), 2);
        QCOMPARE(b->buttonStyle(), 0);
        QCOMPARE(b->gradientColor(), OleColor(0x8000000F));
        QCOMPARE(b->foreColor(), OleColor(0x80000012));
        QVERIFY(b->showFocusRect());
        QCOMPARE(b->mode(), 0);
        QVERIFY(!b->value());
        QVERIFY(b->picture().isNull());
        QCOMPARE(b->storedPictureSize(), 16);
        QCOMPARE(b->hoverForeColor(), OleColor(0x80000012));
        QVERIFY(b->enabledState());
        QCOMPARE(b->backColor(), OleColor(0x0A0B0C));       // the container's back colour
        QCOMPARE(b->hoverBackColor(), OleColor(0x0A0B0C));  // follows that BackColor
        QCOMPARE(b->hoverColorLocks(), 0);
        QCOMPARE(b->mousePointer(), 0);
        QCOMPARE(host.marks, QStringList({"mPointer", "Caption"}));
    }

    void readStoresWithoutRangeChecks()
    {
        PropertyStore s;
        s.writeInt32(QStringLiteral("backstyle"), 9);
        s.writeInt32(QStringLiteral("mode"), 5);
        s.writeInt32(QStringLiteral("capalign"), 7);
        s.writeInt32(QStringLiteral("shape"), -3);
        s.writeInt16(QStringLiteral("imgsize"), 20);
        XPButton* b = make();
        b->readProperties(s);
        QCOMPARE(b->buttonStyle(), 9);
        QCOMPARE(b->mode(), 5);
        QCOMPARE(b->captionAlign(), 7);
        QCOMPARE(b->buttonShape(), -3);
        QCOMPARE(b->storedPictureSize(), 20);
    }

    void readingDrawsOnce()
    {
        PropertyStore s;
        s.writeText(QStringLiteral("Caption"), QStringLiteral("&Go"));
        s.writeInt32(QStringLiteral("BackStyle"), 2);
        XPButton* b = make();
        const int before = b->redrawCount();
        b->readProperties(s);
        QCOMPARE(b->redrawCount(), before + 1);
        QVERIFY(!b->drawingDelayed());
        QVERIFY(b->hasBufferDC());
        QCOMPARE(b->bufferSize(), QSize(100, 25));
        QCOMPARE(b->accessKeys(), QStringLiteral("G"));
    }

    void storeErrorsReachTheCaller()
    {
        PropertyStore s;
        s.writeText(QStringLiteral("Mode"), QStringLiteral("option"));
        XPButton* b = make();
        QVERIFY_THROWS_EXCEPTION(PropertyStoreError, b->readProperties(s));
        PropertyStore t;
        t.writeInt16(QStringLiteral("mPointer"), 42);  // the surface rejects it
        XPButton* c = make();
        QVERIFY_THROWS_EXCEPTION(PropertyStoreError, c->readProperties(t));
    }

    void theMainWindowsStoredInstances()
    {
        QImage hand(32, 32, QImage::Format_ARGB32);
        hand.fill(Qt::transparent);
        const QString handPng = QString::fromLatin1(XbPicture(hand).toPng().toBase64());
        const auto pic = [](const char* type, const QString& png) {
            QJsonObject o{{"type", type}, {"png", png}};
            return QJsonObject{{"picture", o}};
        };
        QJsonObject mIcon = pic("cursor", handPng);
        QJsonObject cursor = mIcon["picture"].toObject();
        cursor["hotX"] = 6;
        cursor["hotY"] = 0;
        mIcon["picture"] = cursor;
        const QJsonObject design{
            {"caption", QStringLiteral("打开照片文件")},
            {"capalign", 2},
            {"backstyle", 2},
            {"font", QJsonObject{{"font", QJsonObject{{"name", QStringLiteral("宋体")},
                                                      {"size", 9},
                                                      {"charset", 134}}}}},
            {"cgradient", 0},
            {"mode", 0},
            {"value", false},
            {"image", pic("bitmap", QString())},
            {"cback", qint64(-2147483633)},
            {"mpointer", 99},
            {"micon", mIcon}};
        const PropertyStore s = PropertyStore::fromJson(design);
        XPButton* b = make();
        b->readProperties(s);
        QCOMPARE(b->caption(), QStringLiteral("打开照片文件"));
        QCOMPARE(b->captionAlign(), 2);
        QCOMPARE(b->buttonStyle(), 2);
        QCOMPARE(b->gradientMode(), 0);
        QCOMPARE(b->mousePointer(), 99);
        QCOMPARE(b->mouseIcon().hotSpot, QPoint(6, 0));
        QCOMPARE(b->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(b->backColor(), OleColor(0x8000000F));
        QCOMPARE(b->font().pointSizeF(), 9.0);
        QCOMPARE(b->faceColor(), OleColor(0xB0A894));  // look 2 on the button face
        QVERIFY(b->picture().isNull());
    }

    // --- Resize and terminate -------------------------------------------------------------------
    void resizeRecreatesTheBuffer()
    {
        XPButton* b = make();
        b->initProperties();
        b->handleResize();
        QCOMPARE(b->bufferSize(), QSize(100, 25));
        container->show();  // Qt sends resize events to visible widgets at once
        b->resize(60, 40);  // the resize event runs the handler
        QCOMPARE(b->bufferSize(), QSize(60, 40));
        QVERIFY(b->hasSavedBitmap());
        b->DelayDrawing(true);
        b->resize(70, 41);
        QCOMPARE(b->bufferSize(), QSize(60, 40));  // skipped while drawing is delayed
    }

    void terminateReleasesTheResources()
    {
        XPButton* b = make();
        b->initProperties();
        b->setButtonShape(4);
        QVERIFY(b->hasBufferDC());
        QVERIFY(b->hasClipRegion());
        b->handleTerminate();
        QVERIFY(!b->hasBufferDC());
        QVERIFY(!b->hasSavedBitmap());
        QVERIFY(!b->hasClipRegion());
        QVERIFY(b->bufferSize().isEmpty());
    }

    void terminateOnANeverDrawnInstanceDoesNothing()
    {
        XPButton* b = make();
        QVERIFY(!b->hasBufferDC());
        b->handleTerminate();
        QVERIFY(!b->hasBufferDC());
        QVERIFY(!b->hasClipRegion());
        delete b;
    }

    // --- Option groups --------------------------------------------------------------------------
    void optionButtonsJoinInOrder()
    {
        XPButton* a = option();
        XPButton* b = option();
        XPButton* c = option();
        QCOMPARE(optCount(), 3);
        QCOMPARE(member(container.get(), 1).toULongLong(), id(a));
        QCOMPARE(member(container.get(), 2).toULongLong(), id(b));
        QCOMPARE(member(container.get(), 3).toULongLong(), id(c));
        QVERIFY(!member(container.get(), 4).isValid());
    }

    void selectingOneClearsTheOthers()
    {
        XPButton* a = option();
        XPButton* b = option();
        XPButton* c = option();
        a->setValue(true);
        QVERIFY(a->value() && !b->value() && !c->value());
        host.forget();
        b->setValue(true);
        QVERIFY(!a->value() && b->value() && !c->value());
        QCOMPARE(host.marks, QStringList({"Value", "Value", "Value"}));  // a and c cleared, b set
        b->setValue(false);  // clearing clears only itself
        QVERIFY(!a->value() && !b->value() && !c->value());
    }

    void joiningWhileSelectedClearsTheOthersFirst()
    {
        XPButton* a = option(true);
        XPButton* b = make();
        b->initProperties();
        b->setMode(1);
        b->setValue(true);
        b->setMode(2);
        QVERIFY(!a->value());
        QVERIFY(b->value());
        QCOMPARE(optCount(), 2);
    }

    void leavingTheGroupMovesLaterMembersDown()
    {
        XPButton* a = option();
        XPButton* b = option();
        XPButton* c = option();
        b->setMode(1);
        QCOMPARE(optCount(), 2);
        QCOMPARE(member(container.get(), 1).toULongLong(), id(a));
        QCOMPARE(member(container.get(), 2).toULongLong(), id(c));
        QVERIFY(!member(container.get(), 3).isValid());
        b->setValue(true);  // a check button now: the group is not touched
        c->setValue(true);
        QVERIFY(b->value());
        a->setMode(0);
        c->setMode(0);
        QVERIFY(!container->property("xb_OptCount").isValid());  // removed at 0
        QVERIFY(!member(container.get(), 1).isValid());
        QVERIFY(!c->value());  // a command button's Value goes false
    }

    void queryTellsWhetherAnyMemberIsSelected()
    {
        XPButton* a = option();
        XPButton* b = option();
        QVERIFY(!a->OptionGroupUpdate(XPButton::GroupQuery));
        b->setValue(true);
        QVERIFY(a->OptionGroupUpdate(XPButton::GroupQuery));
        QVERIFY(b->OptionGroupUpdate(XPButton::GroupQuery));
    }

    void aDestroyedMemberLeavesItsGroup()
    {
        XPButton* a = option();
        XPButton* b = option(true);
        XPButton* c = option();
        delete b;
        QCOMPARE(optCount(), 2);
        QCOMPARE(member(container.get(), 1).toULongLong(), id(a));
        QCOMPARE(member(container.get(), 2).toULongLong(), id(c));
        c->setValue(true);  // the walk never reaches the destroyed button
        QVERIFY(!a->value());
        delete a;
        delete c;
        QVERIFY(!container->property("xb_OptCount").isValid());
        container.reset();  // members destroyed with their container leave quietly
    }

    void groupsAreKeptPerContainer()
    {
        QWidget other;
        XbTestHost otherHost;
        otherHost.container = &other;
        XPButton* a = option(true);
        auto* x = new XPButton(&other, &otherHost);
        x->initProperties();
        x->setMode(2);
        x->setValue(true);
        QVERIFY(a->value());
        QCOMPARE(other.property("xb_OptCount").toInt(), 1);
        QCOMPARE(optCount(), 1);
    }

    void aMemberIsListedOnce()
    {
        XPButton* a = option();
        PropertyStore s;
        a->writeProperties(s);
        a->readProperties(s);  // read again: joins again
        QCOMPARE(optCount(), 1);
        a->setMode(0);
        QVERIFY(!container->property("xb_OptCount").isValid());
    }

    void readingAnOptionButtonJoinsAndClears()
    {
        XPButton* a = option(true);
        PropertyStore s;
        s.writeInt32(QStringLiteral("Mode"), 2);
        s.writeBool(QStringLiteral("Value"), true);
        XPButton* b = make();
        b->readProperties(s);
        QCOMPARE(optCount(), 2);
        QCOMPARE(member(container.get(), 2).toULongLong(), id(b));
        QVERIFY(!a->value());
        QVERIFY(b->value());
    }

    void theDefaultHostAnswersFromTheParent()
    {
        QWidget parent;
        QPalette p = parent.palette();
        p.setColor(parent.backgroundRole(), QColor(1, 2, 3));
        parent.setPalette(p);
        auto* b = new XPButton(&parent);
        b->setObjectName(QStringLiteral("XPButton7"));
        b->initProperties();
        QCOMPARE(b->caption(), QStringLiteral("XPButton7"));
        QCOMPARE(b->ambientBackColor(), OleColor(0x030201));
        QCOMPARE(b->containerKey(), QString::number(reinterpret_cast<quintptr>(&parent)));
        b->setValue(true);  // user mode: refused without a word
        QVERIFY(!b->value());
        b->setMode(2);
        QCOMPARE(parent.property("xb_OptCount").toInt(), 1);
    }
};

QTEST_MAIN(XbPersistTest)
#include "tst_xbpersist.moc"
