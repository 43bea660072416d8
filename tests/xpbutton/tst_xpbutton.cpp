// XPButton's property model: accepted values, silent refusals, setter side effects,
// design-mode messages and the keys each setter marks as changed.
#include "tests/xpbutton/testhost.h"
#include "xpbutton/xpbutton.h"

#include <QApplication>
#include <QMetaProperty>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

using namespace orvello;
using test::XbTestHost;

namespace {

const QString kValueText =
    QStringLiteral("This property is not applicable for command button modes.");
const QString kAlignText = QStringLiteral(
    "When button images are aligned top/bottom center, \nbutton captions can only be center "
    "aligned");
const QString kFocusText = QStringLiteral(
    "The focus rectangle may appear on default buttons ONLY while in design mode, \nbut will not "
    "appear when the form is running.");

XbPicture bitmap(int w = 16, int h = 16)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(Qt::red);
    return XbPicture(img);
}

XbPicture icon()
{
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::blue);
    return XbPicture(img, XbPicture::Type::Icon);
}

// Every readable property of the control's interface, by name.
QVariantMap snapshot(const XPButton& b)
{
    QVariantMap m;
    const QMetaObject* mo = &XPButton::staticMetaObject;
    for (int i = mo->propertyOffset(); i < mo->propertyCount(); ++i)
        m.insert(QString::fromLatin1(mo->property(i).name()), mo->property(i).read(&b));
    m.insert(QStringLiteral("storedPictureSize"), b.storedPictureSize());
    m.insert(QStringLiteral("accessKeys"), b.accessKeys());
    return m;
}

}  // namespace

class XPButtonTest : public QObject, test::ButtonFixture {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setPalette(test::knownPalette()); }
    void init() { fresh(); }
    void cleanup() { container.reset(); }

    void propertiesCarryTheirDesignNames()
    {
        const QStringList names = {"ButtonStyle",
                                   "Mode",
                                   "Value",
                                   "Caption",
                                   "CaptionAlign",
                                   "CaptionStyle",
                                   "ButtonShape",
                                   "Picture",
                                   "PictureAlign",
                                   "Enabled",
                                   "ShowFocusRect",
                                   "PictureSize",
                                   "MousePointer",
                                   "MouseIcon",
                                   "Font",
                                   "FontStyle",
                                   "ForeColor",
                                   "BackColor",
                                   "GradientColor",
                                   "GradientMode",
                                   "ResetDefaultColors",
                                   "HoverColorLocks",
                                   "HoverForeColor",
                                   "HoverBackColor",
                                   "hDC",
                                   "hWnd"};
        const QMetaObject* mo = &XPButton::staticMetaObject;
        QStringList own;
        for (int i = mo->propertyOffset(); i < mo->propertyCount(); ++i)
            own << QString::fromLatin1(mo->property(i).name());
        QCOMPARE(own, names);
        QVERIFY(!mo->property(mo->indexOfProperty("hWnd")).isWritable());
        QVERIFY(b->setProperty("ButtonStyle", 5));
        QCOMPARE(b->buttonStyle(), 5);
    }

    // --- Out-of-range values ----------------------------------------------------------------
    void outOfRangeValuesAreRefusedSilently_data()
    {
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<int>("bad");
        QTest::addColumn<bool>("userMode");
        for (bool user : {false, true}) {
            const char* m = user ? " (run time)" : " (design time)";
            const auto row = [&](const char* name, int v) {
                QTest::addRow("%s = %d%s", name, v, m) << QByteArray(name) << v << user;
            };
            row("ButtonStyle", 8);
            row("ButtonStyle", -1);
            row("Mode", 3);
            row("Mode", -1);
            row("CaptionAlign", 3);
            row("CaptionStyle", 3);
            row("ButtonShape", 7);
            row("PictureAlign", 6);
            row("GradientMode", 5);
            row("PictureSize", 5);
            row("PictureSize", -1);
        }
    }

    void outOfRangeValuesAreRefusedSilently()
    {
        QFETCH(QByteArray, property);
        QFETCH(int, bad);
        QFETCH(bool, userMode);
        fresh(userMode);
        b->setCaptionAlign(0);
        b->setButtonStyle(2);
        host.forget();
        const QVariantMap before = snapshot(*b);
        const int redraws = b->redrawCount();
        b->setProperty(property.constData(), bad);
        QCOMPARE(snapshot(*b), before);
        QVERIFY(host.marks.isEmpty());
        QVERIFY(host.messages.isEmpty());
        QCOMPARE(b->redrawCount(), redraws);
    }

    void invalidMousePointerIsTheSurfacesError()
    {
        QVERIFY(!b->setMousePointer(16));
        QVERIFY(!b->setMousePointer(98));
        QCOMPARE(b->mousePointer(), 0);
        QVERIFY(host.marks.isEmpty());
        QVERIFY(b->setMousePointer(11));
        QCOMPARE(b->cursor().shape(), Qt::WaitCursor);
        QCOMPARE(host.marks, QStringList{"mPointer"});
    }

    // --- The keys each setter marks ------------------------------------------------------------
    void settersMarkTheirPersistedKeys_data()
    {
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QStringList>("marks");
        const auto row = [](const char* name, QVariant v, QStringList marks) {
            QTest::addRow("%s", name) << QByteArray(name) << v << marks;
        };
        row("ButtonStyle", 2, {"BackStyle"});
        row("Mode", 1, {"Mode"});
        row("Caption", QStringLiteral("打开"), {"Caption"});
        row("CaptionAlign", 0, {"CapAlign"});
        row("CaptionStyle", 1, {"CapStyle"});
        row("ButtonShape", 4, {"Shape"});
        row("Picture", QVariant::fromValue(bitmap()), {"Image"});
        row("PictureAlign", 2, {"ImgAlign"});
        row("PictureAlign", 5, {"CapAlign", "ImgAlign"});  // CaptionAlign 2 through its setter
        row("Enabled", false, {"Enabled"});
        row("ShowFocusRect", false, {"Focus"});
        row("PictureSize", 2, {"ImgSize"});
        row("MousePointer", 2, {"mPointer"});
        row("MouseIcon", QVariant::fromValue(icon()), {"mPointer", "mIcon"});
        row("Font", QFont(QStringLiteral("Noto Sans"), 12), {"Font"});
        row("FontStyle", 2, {"Font"});
        row("ForeColor", 0x0000FFu, {"cFHover", "cFore"});
        row("BackColor", 0x112233u, {"cBHover", "cBack"});
        row("GradientColor", 0x445566u, {"cGradient"});
        row("GradientMode", 3, {"Gradient"});
        row("HoverColorLocks", 0, {"cBHover", "cFHover", "LockHover"});
        row("HoverColorLocks", 1, {"cFHover", "LockHover"});
        row("HoverColorLocks", 2, {"cBHover", "LockHover"});
        row("HoverColorLocks", 3, {"LockHover"});
        row("HoverColorLocks", 17, {"LockHover"});
        row("HoverForeColor", 0x00FF00u, {"cFHover"});
        row("HoverBackColor", 0x00FF00u, {"cBHover"});
    }

    void settersMarkTheirPersistedKeys()
    {
        QFETCH(QByteArray, property);
        QFETCH(QVariant, value);
        QFETCH(QStringList, marks);
        QVERIFY(b->setProperty(property.constData(), value));
        QCOMPARE(host.marks, marks);
        QVERIFY(host.messages.isEmpty());
    }

    void settersThatChangeNothingMarkNothing()
    {
        b->setEnabled(true);           // already enabled
        b->setForeColor(kButtonText);  // already the surface's text colour
        b->setHoverForeColor(kButtonText);
        b->setHoverBackColor(kButtonFace);
        b->setMouseIcon(XbPicture());  // an empty icon marks nothing
        QVERIFY(host.marks.isEmpty());
        QCOMPARE(b->hoverColorLocks(), 0);
    }

    void enabledThroughQWidgetIsTheSameState()
    {
        static_cast<QWidget*>(b)->setEnabled(false);
        QVERIFY(!b->enabledState());
        QVERIFY(host.marks.isEmpty());  // no setter of the control ran
        b->setEnabled(true);
        QCOMPARE(host.marks, QStringList{"Enabled"});
        container->setEnabled(false);  // a parent's state is not the surface's own
        QVERIFY(b->enabledState());
        QVERIFY(!b->isEnabled());
    }

    void enabledOnStyle3CommandButtonRebuildsOnce()
    {
        b->setButtonStyle(3);
        const int before = b->redrawCount();
        b->setEnabled(false);
        QCOMPARE(b->redrawCount(), before + 1);
        QVERIFY(!b->drawingDelayed());
    }

    // --- Access keys ----------------------------------------------------------------------------
    void accessKeyFromTheCaption()
    {
        b->setCaption(QStringLiteral("&File"));
        QCOMPARE(b->accessKeys(), QStringLiteral("F"));
        b->setCaption(QStringLiteral("Plain"));  // no marker: the key stays
        QCOMPARE(b->accessKeys(), QStringLiteral("F"));
        b->setCaption(QStringLiteral("Save &As"));
        QCOMPARE(b->accessKeys(), QStringLiteral("A"));
        b->setCaption(QStringLiteral("End&"));  // the marker ends the text: no key
        QCOMPARE(b->accessKeys(), QString());
        QCOMPARE(host.marks, QStringList({"Caption", "Caption", "Caption", "Caption"}));
    }

    void doubleAmpersandSetsNoAccessKey()
    {
        b->setCaption(QStringLiteral("Fish && Chips"));
        QCOMPARE(b->accessKeys(), QString());
        QCOMPARE(b->caption(), QStringLiteral("Fish && Chips"));
    }

    void initialisationDoesNotSetTheAccessKey()
    {
        host.displayName = QStringLiteral("&Q");
        b->initProperties();
        QCOMPARE(b->caption(), QStringLiteral("&Q"));
        QCOMPARE(b->accessKeys(), QString());
    }

    void altAndTheAccessKeyClicksOnce()
    {
        host.user = true;
        b->setCaption(QStringLiteral("&Open"));
        container->show();
        QApplication::setActiveWindow(container.get());
        QVERIFY(QTest::qWaitForWindowActive(container.get()));
        QSignalSpy clicks(b, &XPButton::Click);
        QTest::keyClick(container.get(), Qt::Key_O, Qt::AltModifier);
        QCOMPARE(clicks.count(), 1);
        QTest::keyClick(container.get(), Qt::Key_X, Qt::AltModifier);
        QCOMPARE(clicks.count(), 1);
        // A check button toggles its value before the click.
        b->setMode(1);
        QTest::keyClick(container.get(), Qt::Key_O, Qt::AltModifier);
        QCOMPARE(clicks.count(), 2);
        QVERIFY(b->value());
    }

    void leftClickAndSpaceClick()
    {
        host.user = true;
        QSignalSpy clicks(b, &XPButton::Click);
        QTest::mouseClick(b, Qt::RightButton);
        QCOMPARE(clicks.count(), 0);
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(clicks.count(), 1);
        QTest::mousePress(b, Qt::LeftButton);
        QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(500, 10));  // released outside
        QCOMPARE(clicks.count(), 1);
        QTest::keyClick(b, Qt::Key_Space);
        QCOMPARE(clicks.count(), 2);
        b->setMode(2);
        QTest::mouseClick(b, Qt::LeftButton);  // selects the option
        QTest::mouseClick(b, Qt::LeftButton);  // already selected: nothing
        QCOMPARE(clicks.count(), 3);
        QVERIFY(b->value());
    }

    // --- Value on a command button --------------------------------------------------------------
    void valueOnACommandButtonAtRunTime()
    {
        host.user = true;
        b->setValue(true);
        QVERIFY(!b->value());
        QVERIFY(host.messages.isEmpty());
        QVERIFY(host.marks.isEmpty());
        b->setValue(false);
        QCOMPARE(host.marks, QStringList{"Value"});
    }

    void valueOnACommandButtonInDesignMode()
    {
        b->setValue(true);
        QVERIFY(!b->value());
        QCOMPARE(host.messages, (QList<XbMessage>{XbMessage{kValueText, QString()}}));
        QVERIFY(host.marks.isEmpty());
        b->setValue(false);
        QCOMPARE(host.messages.size(), 1);
        QCOMPARE(host.marks, QStringList{"Value"});
    }

    void valueOnACheckButton()
    {
        b->setMode(1);
        b->setValue(true);
        QVERIFY(b->value());
        b->setMode(0);  // back to a command button: Value becomes false first
        QVERIFY(!b->value());
        QCOMPARE(host.marks, QStringList({"Mode", "Value", "Value", "Mode"}));
    }

    // --- CaptionAlign against a top/bottom picture
    // --------------------------------------------------
    void captionAlignRefusedBesideATopPicture()
    {
        b->setPicture(bitmap());
        b->setPictureAlign(4);
        QCOMPARE(b->captionAlign(), 2);
        host.forget();
        b->setCaptionAlign(0);
        QCOMPARE(b->captionAlign(), 2);
        QCOMPARE(host.messages, (QList<XbMessage>{XbMessage{kAlignText, QString()}}));
        QVERIFY(host.marks.isEmpty());
        b->setCaptionAlign(2);  // centre is always accepted
        QCOMPARE(host.marks, QStringList{"CapAlign"});
    }

    void captionAlignRefusedSilentlyAtRunTime()
    {
        host.user = true;
        b->setPicture(bitmap(1, 1));
        b->setPictureAlign(5);
        host.forget();
        b->setCaptionAlign(1);
        QCOMPARE(b->captionAlign(), 2);
        QVERIFY(host.messages.isEmpty());
        QVERIFY(host.marks.isEmpty());
    }

    void captionAlignAcceptedWithoutAPicture()
    {
        b->setPictureAlign(4);
        b->setCaptionAlign(0);
        QCOMPARE(b->captionAlign(), 0);
        b->setPicture(bitmap());
        b->setPictureAlign(1);  // beside: any alignment
        b->setCaptionAlign(1);
        QCOMPARE(b->captionAlign(), 1);
        QVERIFY(host.messages.isEmpty());
    }

    // --- ButtonShape 3
    // -----------------------------------------------------------------------------
    void shape3ForcesCentredCaptionWithoutAMessage()
    {
        b->setCaptionAlign(0);
        host.forget();
        b->setButtonShape(3);
        QCOMPARE(b->buttonShape(), 3);
        QCOMPARE(b->captionAlign(), 2);
        QVERIFY(host.messages.isEmpty());
        QCOMPARE(host.marks, QStringList{"Shape"});  // CaptionAlign is stored directly
    }

    void shapeRunsTheResizeProcedure()
    {
        b->DelayDrawing(true);
        const int before = b->redrawCount();
        b->setButtonShape(5);
        QVERIFY(!b->drawingDelayed());
        QVERIFY(b->hasBufferDC());
        QCOMPARE(b->bufferSize(), QSize(120, 30));
        QVERIFY(b->hasClipRegion());
        QCOMPARE(b->redrawCount(), before + 1);
    }

    // --- PictureSize and FontStyle
    // ----------------------------------------------------------------
    void pictureSizeZeroReadsAsSixteen()
    {
        QCOMPARE(b->storedPictureSize(), 0);
        QCOMPARE(b->pictureSize(), 0);
        QCOMPARE(b->storedPictureSize(), 16);
        QVERIFY(host.marks.isEmpty());
        for (int n = 0; n <= 4; ++n) {
            b->setPictureSize(n);
            QCOMPARE(b->storedPictureSize(), (n + 2) * 8);
            QCOMPARE(b->pictureSize(), n);
        }
    }

    void aPictureMakesTheSizeSixteen()
    {
        b->setPicture(bitmap(20, 10));
        QCOMPARE(b->storedPictureSize(), 16);
        QCOMPARE(b->pictureWidth(), 20);
        QCOMPARE(b->pictureHeight(), 10);
        b->setPicture(XbPicture());
        QCOMPARE(b->pictureWidth() + b->pictureHeight(), 0);
    }

    void fontStyleSix()
    {
        b->setFontStyle(6);
        QVERIFY(b->font().bold());
        QVERIFY(b->font().italic());
        QVERIFY(!b->font().underline());
        QCOMPARE(b->fontStyle(), 6);
        QCOMPARE(host.marks, QStringList{"Font"});
        b->setFontStyle(8 | 1);
        QCOMPARE(b->fontStyle(), 8);
    }

    // --- ShowFocusRect on a default button
    // ---------------------------------------------------------
    void focusRectOnADefaultButton()
    {
        b->setDisplayAsDefault(true);
        QVERIFY(b->defaultButtonLook());
        b->setShowFocusRect(false);
        QCOMPARE(host.messages, (QList<XbMessage>{XbMessage{kFocusText, QString()}}));
        QVERIFY(b->defaultButtonLook());  // design mode keeps the look
        QCOMPARE(host.marks, QStringList{"Focus"});

        host.forget();
        host.user = true;
        b->setShowFocusRect(true);
        QVERIFY(!b->defaultButtonLook());  // run time clears it
        QVERIFY(host.messages.isEmpty());
        QCOMPARE(host.marks, QStringList{"Focus"});
        b->setShowFocusRect(false);
        b->setDisplayAsDefault(true);  // without the focus rectangle no default look
        QVERIFY(!b->defaultButtonLook());
    }

    // --- MouseIcon
    // ---------------------------------------------------------------------------------
    void mouseIconTakesIconsAndCursorsOnly()
    {
        b->setMouseIcon(bitmap());
        QCOMPARE(host.messages,
                 (QList<XbMessage>{XbMessage{QStringLiteral("Invalid property value"),
                                             QStringLiteral("Select .ico Or .cur Files Only")}}));
        QVERIFY(b->mouseIcon().isNull());
        QCOMPARE(b->mousePointer(), 0);
        QVERIFY(host.marks.isEmpty());

        host.forget();
        host.user = true;
        b->setMouseIcon(bitmap());
        QVERIFY(host.messages.isEmpty());

        b->setMouseIcon(icon());
        QCOMPARE(b->mousePointer(), 99);
        QVERIFY(!b->mouseIcon().isNull());
        QCOMPARE(host.marks, QStringList({"mPointer", "mIcon"}));
    }

    // --- Drawing delay ---------------------------------------------------------------------------
    void delayedDrawingSkipsRedraws()
    {
        b->DelayDrawing(true);
        const int before = b->redrawCount();
        b->setCaption(QStringLiteral("x"));
        b->setButtonStyle(1);
        b->Refresh();
        QCOMPARE(b->redrawCount(), before);
        b->DelayDrawing(false);
        QCOMPARE(b->redrawCount(), before + 1);
        b->DelayDrawing(true);
        b->setForeColor(0x00FF00);  // ForeColor clears the delay and redraws
        QVERIFY(!b->drawingDelayed());
        QCOMPARE(b->redrawCount(), before + 2);
    }

    void captionStyleOnAnEmptyCaptionDoesNotRedraw()
    {
        b->setCaption(QString());
        const int before = b->redrawCount();
        b->setCaptionStyle(2);
        QCOMPARE(b->redrawCount(), before);
        QCOMPARE(host.marks.last(), QStringLiteral("CapStyle"));
    }
};

QTEST_MAIN(XPButtonTest)
#include "tst_xpbutton.moc"
