// The overlay as the window wires it: switches, title edits, editing buttons, colour and fonts.
#include "tests/gui/testwindow.h"
#include "tools/fixtures/photowriter.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace orvello;

namespace {

int countColour(const QImage& img, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += img.pixel(x, y) == colour;
    return n;
}

}  // namespace

class OverlayWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    test::ScriptedHost host;
    std::unique_ptr<frmMain> window;
    QString photoPath;
    const QRgb paleYellow = qRgb(255, 255, 128);

    void openPhoto()
    {
        test::openThroughDialog(host, *window, photoPath);
        QVERIFY(window->photoLoaded());
    }

private slots:
    void initTestCase()
    {
        photoPath = dir.filePath(QStringLiteral("p.jpg"));
        QVERIFY(fixtures::writeDatedPhoto(photoPath, QSize(1200, 800), qRgb(30, 30, 30),
                                          QStringLiteral("2007:12:10 14:30:00")));
    }
    void init()
    {
        host = test::ScriptedHost();
        window = test::loadedWindow(host, dir.filePath(QStringLiteral("o.ini")));
    }
    void cleanup() { window.reset(); }

    void titleEditsDrawEvenWithoutAPhoto()
    {
        const QImage silver = window->canvas();
        QCOMPARE(silver.size(), QSize(49, 49));
        window->control<QCheckBox>(QStringLiteral("Check2"))->setChecked(true);
        QCOMPARE(window->canvas(), silver);  // the switch alone draws nothing without a photo
        window->control<QLineEdit>(QStringLiteral("Text1"))->setText(QStringLiteral("■■■■■■■■"));
        QVERIFY(window->canvas() != silver);
    }

    void switchesAndEditingButtonsRedraw()
    {
        openPhoto();
        const int dateInk = countColour(window->canvas(), paleYellow);
        QVERIFY(dateInk > 0);
        window->control<QCheckBox>(QStringLiteral("Check1"))->setChecked(false);
        QCOMPARE(countColour(window->canvas(), paleYellow), 0);
        QVERIFY(!window->settings().addDTB);
        window->control<QCheckBox>(QStringLiteral("Check1"))->setChecked(true);

        for (int i = 0; i < 10; ++i) window->click(QStringLiteral("XPButton17"));
        QCOMPARE(window->settings().addFontSize, 3.0f);
        QVERIFY(countColour(window->canvas(), paleYellow) > dateInk * 3 / 2);  // 1.5 times as tall

        window->click(QStringLiteral("XPButton18"));
        QVERIFY(window->settings().addFontBold);
        QVERIFY(window->control(QStringLiteral("XPButton18"))->font().bold());
        window->click(QStringLiteral("XPButton16"));
        QVERIFY(window->control(QStringLiteral("XPButton16"))->font().italic());
        window->click(QStringLiteral("XPButton16"));
        QVERIFY(!window->control(QStringLiteral("XPButton16"))->font().italic());

        host.colorAnswers << QColor(255, 0, 0);
        window->click(QStringLiteral("XPButton19"));
        QCOMPARE(window->settings().addForeColor, 255);
        QCOMPARE(countColour(window->canvas(), paleYellow), 0);
        QVERIFY(countColour(window->canvas(), qRgb(255, 0, 0)) > 0);

        host.messageAnswers << MsgAnswer::Yes;
        window->click(QStringLiteral("XPButton20"));  // restore defaults redraws at once
        QCOMPARE(countColour(window->canvas(), paleYellow), dateInk);
        QCOMPARE(window->control<QWidget>(QStringLiteral("Picture1"))->isVisible(), true);
    }

    void fontPickerOpensRetargetsAndChooses()
    {
        openPhoto();
        auto* list = window->control<QListWidget>(QStringLiteral("List2"));
        window->click(QStringLiteral("XPButton14"));
        QVERIFY(list->isVisible());
        QCOMPARE(list->currentItem()->text(), QStringLiteral("DigifaceWide"));
        QCOMPARE(list->x(), 530);
        QCOMPARE(list->y(), window->control(QStringLiteral("XPButton14"))->y());

        window->click(QStringLiteral("XPButton13"));  // re-targets to the title
        QVERIFY(list->isVisible());
        QCOMPARE(list->y(), window->control(QStringLiteral("XPButton13"))->y());
        window->click(QStringLiteral("XPButton13"));  // the same button closes it
        QVERIFY(!list->isVisible());

        window->click(QStringLiteral("XPButton13"));
        QListWidgetItem* face =
            list->findItems(QStringLiteral("DigifaceWide"), Qt::MatchExactly).value(0);
        QVERIFY(face);
        const QImage before = window->canvas();
        emit list->itemDoubleClicked(face);
        QCOMPARE(window->settings().addFont2, QStringLiteral("DigifaceWide"));
        QCOMPARE(window->settings().addFont, QStringLiteral("DigifaceWide"));
        QVERIFY(!list->isVisible());
    }

    void commandsNeedAPhoto()
    {
        window->click(QStringLiteral("XPButton17"));
        window->click(QStringLiteral("XPButton7"));
        window->click(QStringLiteral("XPButton14"));
        QCOMPARE(window->settings().addFontSize, 2.0f);
        QCOMPARE(window->settings().addCurrentX2, 5.0f);
        QVERIFY(!window->control(QStringLiteral("List2"))->isVisible());
        QVERIFY(host.colorDialogs.isEmpty());
    }
};

QTEST_MAIN(OverlayWindowTest)
#include "tst_overlaywindow.moc"
