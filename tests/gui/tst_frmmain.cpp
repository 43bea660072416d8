// The window driven in-process under the offscreen platform, with the scripted host.
#include "app/language.h"
#include "app/settings.h"
#include "tests/gui/testwindow.h"
#include "xpbutton/raster/bufferdc.h"
#include "xpbutton/raster/drawtext.h"
#include "xpbutton/xpbutton.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <memory>

using namespace orvello;

class FrmMainTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    test::ScriptedHost host;
    std::unique_ptr<frmMain> window;

    QString ini() const { return dir.filePath(QStringLiteral("Orvello.ini")); }

    std::unique_ptr<frmMain> makeWindow(QString appDir = QStringLiteral(ORVELLO_BIN_DIR),
                                        QByteArrayList formats = GdiPlusRuntime::requiredFormats())
    {
        FrmMainEnvironment env = test::testEnvironment(host, ini());
        env.appDirectory = appDir;
        env.requiredImageFormats = formats;
        return std::make_unique<frmMain>(env);
    }
    QByteArray storedText()
    {
        QFile f(ini());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void init()
    {
        QFile::remove(ini());
        host = test::ScriptedHost();
        window = makeWindow();
    }
    void cleanup() { window.reset(); }

    void layoutFollowsTheDesign()
    {
        QCOMPARE(window->load(), 0);
        QCOMPARE(window->size(), QSize(800, 600));
        QCOMPARE(window->windowTitle(), QStringLiteral("Orvello " ORVELLO_VERSION));
        struct Expect {
            const char* name;
            QRect pixels;
            const char* caption;
            const char* tip;
        } expected[] = {
            {"List1", {10, 48, 201, 242}, nullptr, "照片目录"},
            {"XPButton1", {50, 296, 121, 33}, "打开照片文件", "打开照片文件"},
            {"Text0", {10, 336, 201, 233}, nullptr, "照片文件EXIF信息"},
            {"Picture1", {216, 48, 482, 482}, nullptr, nullptr},
            {"XPButton3", {702, 48, 89, 25}, "旋转照片", "向左旋转照片"},
            {"XPButton4", {702, 80, 89, 25}, "旋转照片", "向右旋转照片"},
            {"XPButton15", {702, 176, 25, 25}, "小", "缩小文字"},
            {"XPButton8", {760, 328, 25, 25}, "右", "向右移动标题"},
            {"XPButton21", {702, 505, 89, 25}, "关于 …", "关于 …"},
            {"Check1", {232, 544, 97, 17}, "添加拍照日期", nullptr},
            {"Text1", {424, 544, 73, 18}, nullptr, nullptr},
            {"XPButton2", {520, 536, 73, 33}, "保存", "照片另存为"},
            {"XPButton23", {608, 536, 73, 33}, "打印", "打印照片"},
        };
        for (const Expect& e : expected) {
            QWidget* w = window->control(QString::fromLatin1(e.name));
            QVERIFY2(w, e.name);
            QCOMPARE(w->geometry(), e.pixels);
            if (e.tip) QCOMPARE(w->toolTip(), QString::fromUtf8(e.tip));
            const char* text = qobject_cast<XPButton*>(w) ? "Caption" : "text";
            if (e.caption) QCOMPARE(w->property(text).toString(), QString::fromUtf8(e.caption));
        }
        QCOMPARE(window->control<QLineEdit>(QStringLiteral("Text1"))->text(),
                 QStringLiteral("标题文字"));
        QVERIFY(window->control(QStringLiteral("XPButton2"))->font().bold());
        QVERIFY(!window->control(QStringLiteral("XPButton1"))->font().bold());
        const QRect visible(0, 0, 800, 600);
        for (const char* hidden : {"PicFocus", "Picture0", "List2"})
            QVERIFY2(!visible.intersects(window->control(QString::fromLatin1(hidden))->geometry()),
                     hidden);
        // The check boxes stand on the window's white, not on grey boxes.
        for (const char* name : {"Check1", "Check2"}) {
            const QImage look = window->control(QString::fromLatin1(name))->grab().toImage();
            QCOMPARE(look.pixel(look.width() - 1, 0), qRgb(255, 255, 255));
            QCOMPARE(look.pixel(look.width() - 1, look.height() - 1), qRgb(255, 255, 255));
        }
        // One look of text: every control's text in the face, size and quality of the captions.
        const QFont caption = window->control<XPButton>(QStringLiteral("XPButton1"))->captionFont();
        for (const char* name : {"Label1", "Label2", "List1", "Text0", "Check1", "Text1"}) {
            const QFont f = window->control(QString::fromLatin1(name))->font();
            QCOMPARE(QFontInfo(f).family(), QFontInfo(caption).family());
            QCOMPARE(f.pixelSize(), caption.pixelSize());
            QCOMPARE(f.styleStrategy(), caption.styleStrategy());
        }
        int buttons = 0;
        for (int i = 1; i <= 23; ++i)
            buttons += window->control(QStringLiteral("XPButton%1").arg(i)) != nullptr;
        QCOMPARE(buttons, 23);
    }

    // Every command button is restored from its stored properties: the common settings, its own
    // picture, the custom pointer, and bold captions on the save and print buttons only.
    void buttonsAreRestoredFromTheirStoredProperties()
    {
        QList<QImage> pictures;
        for (int i = 1; i <= 23; ++i) {
            const QString name = QStringLiteral("XPButton%1").arg(i);
            auto* b = window->control<XPButton>(name);
            QVERIFY2(b, qPrintable(name));
            QCOMPARE(b->buttonStyle(), 2);
            QCOMPARE(b->captionAlign(), 2);
            QCOMPARE(b->mode(), 0);
            QVERIFY(!b->value());
            QCOMPARE(b->gradientMode(), 0);
            QCOMPARE(b->gradientColor(), OleColor(0));
            QCOMPARE(b->backColor(), OleColor(0x8000000F));
            QCOMPARE(b->font().family(), QStringLiteral("宋体"));
            QCOMPARE(b->font().pointSize(), 9);
            QCOMPARE(b->font().bold(), i == 2 || i == 23);
            QCOMPARE(b->pictureAlign(), 0);
            QCOMPARE(b->pictureSize(), 0);
            QCOMPARE(b->picture().image.size(), QSize(16, 16));
            QCOMPARE(b->mousePointer(), 99);
            QVERIFY(!b->mouseIcon().isNull());
            QCOMPARE(b->cursor().shape(), Qt::BitmapCursor);
            QCOMPARE(b->cursor().hotSpot(), QPoint(1, 1));  // at the pointer's tip
            // Drawn once, in the look of style 2, at the design size.
            QCOMPARE(b->surface().size(), b->size());
            // The square buttons' caption glyph stands over the picture from its tenth column
            // on: their symbol keeps left of it, so that both read together.
            if (b->width() == 25) {
                const QImage picture = b->picture().image.convertToFormat(QImage::Format_ARGB32);
                for (int y = 0; y < 16; ++y)
                    for (int x = 9; x < 16; ++x)
                        QVERIFY2(qAlpha(picture.pixel(x, y)) == 0, qPrintable(name));
            }
            for (const QImage& other : pictures)
                QVERIFY2(other != b->picture().image, qPrintable(name + " repeats a picture"));
            pictures << b->picture().image;
        }
    }

    // The ten square buttons read: the caption (black) stands whole on the face inside the rings
    // and clear of the picture, at rest and with the blue focus rings on.
    void squareButtonsKeepTheirCaptionOnTheFace()
    {
        int square = 0;
        for (int i = 1; i <= 23; ++i) {
            auto* b = window->control<XPButton>(QStringLiteral("XPButton%1").arg(i));
            if (b->width() != 25) continue;
            ++square;
            const QString caption = b->caption();
            const XbPicture picture = b->picture();
            const auto black = [](const QImage& im, int x, int y) {
                return (im.pixel(x, y) & 0xFFFFFF) == 0;
            };
            const auto blackCount = [&](const QImage& im) {
                int n = 0;
                for (int y = 0; y < im.height(); ++y)
                    for (int x = 0; x < im.width(); ++x) n += black(im, x, y);
                return n;
            };
            raster::BufferDC alone(40, 40);  // the glyph drawn where it has room
            alone.PatBlt(0, 0, 40, 40, raster::WHITENESS);
            alone.font = b->captionFont();
            alone.textColor = 0;
            QRect room(4, 4, 32, 32);
            raster::DrawTextA(alone, caption, room, raster::DT_LEFT);
            const int glyph = blackCount(alone.bitmap());
            b->setPicture(XbPicture());
            for (bool focused : {false, true}) {
                b->setDisplayAsDefault(focused);
                b->setCaption(QString());
                const QImage bare = b->surface();
                b->setCaption(caption);
                b->setPicture(picture);
                const QImage full = b->surface();
                QVERIFY2(blackCount(full) == glyph, qPrintable(caption));
                for (int y = 0; y < 25; ++y)
                    for (int x = 0; x < 25; ++x) {
                        const bool face = x >= 3 && x < 22 && y >= 3 && y < 22;
                        if (!face)
                            QVERIFY2(full.pixel(x, y) == bare.pixel(x, y), qPrintable(caption));
                        if (!black(full, x, y)) continue;
                        for (int dy = -1; dy <= 1; ++dy)  // no picture pixel next to the caption
                            for (int dx = -1; dx <= 1; ++dx)
                                QVERIFY2(
                                    black(full, x + dx, y + dy) ||
                                        full.pixel(x + dx, y + dy) == bare.pixel(x + dx, y + dy),
                                    qPrintable(caption));
                    }
                b->setPicture(XbPicture());
            }
            b->setPicture(picture);
        }
        QCOMPARE(square, 10);
    }

    void focusOrderAndStartState()
    {
        QCOMPARE(window->load(), 0);
        const QStringList order = {
            "PicFocus",   "XPButton1",  "List1",      "Text0",      "Picture1",   "XPButton3",
            "XPButton4",  "XPButton5",  "XPButton7",  "XPButton8",  "XPButton6",  "XPButton13",
            "XPButton14", "XPButton15", "XPButton17", "XPButton18", "XPButton16", "XPButton19",
            "XPButton9",  "XPButton11", "XPButton12", "XPButton10", "XPButton20", "Check1",
            "Check2",     "Text1",      "XPButton2",  "XPButton23", "XPButton21", "XPButton22"};
        for (int i = 0; i + 1 < order.size(); ++i) {
            QWidget* next = window->control(order[i])->nextInFocusChain();
            while (next->parentWidget() != window.get())  // skip a control's own inner widgets
                next = next->nextInFocusChain();
            QCOMPARE(next->objectName(), order[i + 1]);
        }
        QVERIFY(!window->control(QStringLiteral("XPButton2"))->isEnabled());
        QVERIFY(!window->control(QStringLiteral("XPButton23"))->isEnabled());
        QVERIFY(!window->photoLoaded());
        auto* notice = window->control<QLabel>(QStringLiteral("LbBR"));
        QVERIFY(notice->text().startsWith(QLatin1Char(' ')));
        QCOMPARE(notice->toolTip(), QStringLiteral("查看版权所有者信息"));
        QVERIFY(window->control<QCheckBox>(QStringLiteral("Check1"))->isChecked());
        QVERIFY(!window->control<QCheckBox>(QStringLiteral("Check2"))->isChecked());
        QVERIFY(host.messages.isEmpty());
    }

    // A keyboard user sees where the focus is: one Tab from the start puts the blue rings of the
    // default look on XPButton1, the next Tab takes them away again; the space bar held on the
    // button shows its pressed face, and its release runs the open command.
    void keyboardFocusAndSpaceBarOnTheOpenButton()
    {
        QCOMPARE(window->load(), 0);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        auto* open = window->control<XPButton>(QStringLiteral("XPButton1"));
        const int W = open->width(), H = open->height();
        const auto shown = [&](int x, int y) {
            return raster::fromArgb(open->grab().toImage().pixel(x, y));
        };
        const OleColor B = open->faceColor(), normalRing = ShiftColor(B, -10, true);
        QCOMPARE(shown(2, H / 2), normalRing);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), open);
        QCOMPARE(shown(2, H / 2), OleColor(0xF0D1B5));      // inner ring: RGB 181, 209, 240
        QCOMPARE(shown(W / 2, H - 2), OleColor(0xEF826B));  // middle ring's bottom: 107, 130, 239

        const int dialogs = int(host.fileDialogs.size());
        QTest::keyPress(open, Qt::Key_Space);
        QCOMPARE(shown(W - 8, H / 2), ShiftColor(open->pressedFaceColor(),
                                                 int(std::nearbyint(-25.0 * (H / 2) / H)), true));
        QCOMPARE(host.fileDialogs.size(), dialogs);
        QTest::keyRelease(open, Qt::Key_Space);
        QCOMPARE(host.fileDialogs.size(), dialogs + 1);  // answered: cancelled

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("List1"));
        QCOMPARE(shown(2, H / 2), normalRing);
    }

    void storedSwitchesReachTheCheckBoxes()
    {
        AppSettings s;
        s.addDTB = false;
        s.addTXB = true;
        SettingsStore(ini()).writeAll(s, 0, 0);
        QCOMPARE(window->load(), 0);
        QVERIFY(!window->control<QCheckBox>(QStringLiteral("Check1"))->isChecked());
        QVERIFY(window->control<QCheckBox>(QStringLiteral("Check2"))->isChecked());
        window->control<QCheckBox>(QStringLiteral("Check2"))->setChecked(false);
        QCOMPARE(window->settings().addTXB, false);
    }

    void missingFontEndsWithItsMessage()
    {
        QTemporaryDir empty;
        window = makeWindow(empty.path());
        QCOMPARE(window->load(), kExitFontMissing);
        QCOMPARE(host.messages.size(), 1);
        QCOMPARE(host.messages[0].text,
                 QStringLiteral("未发现所需要的字体文件，请重新安装本软件！"));
        QCOMPARE(host.messages[0].icon, MsgIcon::None);
        QCOMPARE(host.messages[0].title, QStringLiteral("Orvello"));
        QVERIFY(!window->isVisible());
        window->close();
        QVERIFY(storedText().isEmpty());
    }

    void unloadableFontEndsWithItsMessage()
    {
        QTemporaryDir broken;
        QDir(broken.path()).mkpath(QStringLiteral("fonts"));
        for (const char* name : {"DSEG7Classic-Regular.ttf", "DSEG7Classic-Bold.ttf",
                                 "DSEG7Classic-Italic.ttf", "DSEG7Classic-BoldItalic.ttf"}) {
            QFile f(broken.filePath(QStringLiteral("fonts/") + QLatin1String(name)));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("not a font");
        }
        window = makeWindow(broken.path());
        QCOMPARE(window->load(), kExitFontMissing);
        QCOMPARE(host.messages.size(), 1);
    }

    void failingRuntimeEndsWithItsMessage()
    {
        window = makeWindow(QStringLiteral(ORVELLO_BIN_DIR), {"jpeg", "no-such-format"});
        QCOMPARE(window->load(), kExitRuntimeFailed);
        QCOMPARE(host.messages.size(), 1);
        QCOMPARE(host.messages[0].text, QStringLiteral("GDI+ Initialisation Failed."));
        QCOMPARE(host.messages[0].icon, MsgIcon::Exclamation);
        QVERIFY(!window->isVisible());
    }

    void closeCommandAnsweredNoWritesNothing()
    {
        QCOMPARE(window->load(), 0);
        host.messageAnswers << MsgAnswer::No;
        window->closeCommand();
        QCOMPARE(host.messages.size(), 1);
        QCOMPARE(host.messages[0].text, QStringLiteral("你确定要关闭并结束程序吗？"));
        QCOMPARE(host.messages[0].icon, MsgIcon::Question);
        QCOMPARE(host.messages[0].defaultButton, MsgAnswer::No);
        QVERIFY(window->isVisible());
        QVERIFY(storedText().isEmpty());
    }

    void closeCommandAnsweredYesWritesTheSettings()
    {
        QCOMPARE(window->load(), 0);
        window->settings().addFontSize = 4.5f;
        host.messageAnswers << MsgAnswer::Yes;
        window->closeCommand();
        QVERIFY(!window->isVisible());
        QVERIFY(storedText().contains("addFontSize=4.5"));
    }

    void windowManagerCloseWritesWithoutAsking()
    {
        QCOMPARE(window->load(), 0);
        window->move(30, 40);
        window->settings().addCurrentX = 12.5f;
        window->close();
        QVERIFY(host.messages.isEmpty());
        QSettings raw(ini(), QSettings::IniFormat);
        QCOMPARE(raw.value(QStringLiteral("SetLog/addCurrentX")).toString(),
                 QStringLiteral("12.5"));
        QCOMPARE(raw.value(QStringLiteral("SetLog/frmMainX")).toString(),
                 QString::number(window->x() * 15));
        // A second close does not write again.
        QFile::remove(ini());
        window->close();
        QVERIFY(storedText().isEmpty());
    }

    void aboutAndWebPages()
    {
        QCOMPARE(window->load(), 0);
        window->click(QStringLiteral("XPButton21"));
        QCOMPARE(host.messages.size(), 1);
        const MessageRequest& about = host.messages[0];
        QCOMPARE(about.title, QStringLiteral("关于 Orvello"));
        QCOMPARE(about.icon, MsgIcon::Information);
        const QStringList paragraphs = about.text.split(QStringLiteral("\r\n"));
        QCOMPARE(paragraphs.size(), 3);
        QCOMPARE(paragraphs[0],
                 QStringLiteral(
                     "本软件可提取数码照片的EXIF信息并在照片上添加拍摄日期、自定义标题文字等。"));
        QVERIFY(paragraphs[1].isEmpty());
        QVERIFY(paragraphs[2].endsWith(QLatin1Char(' ')));

        window->click(QStringLiteral("XPButton22"));
        window->click(QStringLiteral("XPButton22"));
        QCOMPARE(host.openedUrls.size(), 2);
        QTest::mouseClick(window->control(QStringLiteral("LbBR")), Qt::LeftButton);
        QCOMPARE(host.openedUrls.size(), 3);
        QVERIFY(paragraphs[2].contains(host.openedUrls[2].toString()));
        QVERIFY(host.openedUrls[0] != host.openedUrls[2]);
    }

    void restoreDefaultsWithoutPhotoDrawsNothing()
    {
        QCOMPARE(window->load(), 0);
        window->settings().addCurrentX = 1.0f;
        host.messageAnswers << MsgAnswer::Yes;
        window->click(QStringLiteral("XPButton20"));
        QCOMPARE(window->settings().addCurrentX, 60.0f);
        QVERIFY(window->control<QWidget>(QStringLiteral("Picture1")) != nullptr);
    }

    // Every text a user reads in the window, its tool tips, menus and messages, once in English.
    void englishInterfaceLeavesNoChinese()
    {
        QVERIFY(installInterfaceLanguage(InterfaceLanguage::English));
        const auto restore =
            qScopeGuard([] { installInterfaceLanguage(InterfaceLanguage::Chinese); });
        window = makeWindow();
        QCOMPARE(window->load(), 0);
        window->click(QStringLiteral("XPButton21"));  // About
        host.messageAnswers << MsgAnswer::No;
        window->closeCommand();
        QStringList texts = {window->windowTitle()};
        for (const MessageRequest& m : host.messages) texts << m.title << m.text;
        for (QObject* o : window->findChildren<QObject*>())
            for (const char* p : {"text", "Caption", "toolTip", "windowTitle", "placeholderText"})
                texts << o->property(p).toString();
        const QRegularExpression chinese(
            QStringLiteral("[\\x{3000}-\\x{303f}\\x{4e00}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
        QStringList left;
        for (const QString& t : texts)
            if (t.contains(chinese)) left << t;
        QVERIFY2(left.isEmpty(), qPrintable(left.join(u'|')));
        QVERIFY(texts.contains(QStringLiteral("Open photo")));
        QVERIFY(texts.contains(QStringLiteral("Are you sure you want to close the program?")));
    }
};

QTEST_MAIN(FrmMainTest)
#include "tst_frmmain.moc"
