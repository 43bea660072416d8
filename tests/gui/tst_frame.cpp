// The skinned frame: outline, saved-position clamp, painted pieces, drag surfaces and the caption
// images, on a window driven in-process. The offscreen screen is 1920 × 1080 here, so that saved
// positions are not all pulled to the corner of an 800 × 600 screen.
#include "app/settings.h"
#include "tests/gui/testwindow.h"
#include "ui/frame/artwork.h"
#include "ui/frame/captionbutton.h"
#include "ui/frame/frameregion.h"
#include "ui/frame/windowframe.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace orvello;

namespace {

struct DragRequest {
    Qt::MouseButton button;
    QPointF at;
};

class RecordingMover : public WindowMover {
public:
    QList<DragRequest> requests;
    void startMove(QWidget&, Qt::MouseButton button, QPointF pressAt) override
    {
        requests << DragRequest{button, pressAt};
    }
};

void send(QWidget* w, QEvent::Type type, Qt::MouseButton button, QPoint pos,
          Qt::MouseButtons held = Qt::NoButton)
{
    QMouseEvent e(type, pos, w->mapToGlobal(pos), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void moveOver(QWidget* w, QPoint pos = QPoint(2, 2))
{
    send(w, QEvent::MouseMove, Qt::NoButton, pos);
}

}  // namespace

class FrameTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    test::ScriptedHost host;
    std::unique_ptr<frmMain> window;
    RecordingMover recorder;

    QString ini() const { return dir.filePath(QStringLiteral("Orvello.ini")); }
    void savePosition(int left, int top)
    {
        QSettings raw(ini(), QSettings::IniFormat);
        raw.setValue(QStringLiteral("SetLog/frmMainX"), QString::number(left));
        raw.setValue(QStringLiteral("SetLog/frmMainY"), QString::number(top));
    }
    void load()
    {
        window = test::loadedWindow(host, ini());
        frame()->setMover(&recorder);
    }
    WindowFrame* frame() const { return window->findChild<WindowFrame*>(); }
    CaptionButton* button(const char* name) const
    {
        return window->control<CaptionButton>(QLatin1String(name));
    }

private slots:
    void init()
    {
        QFile::remove(ini());
        host = test::ScriptedHost();
        recorder.requests.clear();
    }
    void cleanup() { window.reset(); }

    void outlineOfTheStartWindow()
    {
        QRegion expected(QRect(0, 5, 800, 590));
        expected += QRect(5, 0, 790, 600);
        expected += QRegion(QRect(-2, 0, 17, 35), QRegion::Ellipse);
        expected += QRegion(QRect(785, 0, 17, 20), QRegion::Ellipse);
        expected += QRegion(QRect(-1, 580, 11, 20), QRegion::Ellipse);
        expected += QRegion(QRect(780, 560, 23, 44), QRegion::Ellipse);
        const QRegion outline = frameRegion(12000, 9000);
        QCOMPARE(outline, expected);
        for (QPoint corner : {QPoint(0, 0), QPoint(799, 0), QPoint(0, 599), QPoint(799, 599)})
            QVERIFY2(!outline.contains(corner),
                     qPrintable(QStringLiteral("%1,%2").arg(corner.x()).arg(corner.y())));
        QVERIFY(outline.contains(QPoint(400, 0)) && outline.contains(QPoint(0, 300)));
        QVERIFY(outline.boundingRect().right() > 799);   // the right ellipses reach past the edge
        QVERIFY(outline.boundingRect().bottom() > 599);  // and the bottom-right one below it

        // Widths in twips round to the nearest pixel first.
        QCOMPARE(frameRegion(12007, 9000), outline);
        QCOMPARE(frameRegion(12008, 9000), frameRegion(12015, 9000));
        QVERIFY(frameRegion(12008, 9000) != outline);
    }

    void savedPositionClamp_data()
    {
        QTest::addColumn<QPoint>("saved");
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QPoint>("expected");
        const QRect full(0, 0, 1920 * 15, 1080 * 15);
        QTest::newRow("negative") << QPoint(-300, -300) << full << QPoint(0, 0);
        QTest::newRow("on screen stays") << QPoint(4500, 3000) << full << QPoint(4500, 3000);
        QTest::newRow("past the right") << QPoint(99999, 3000) << full << QPoint(16800, 3000);
        QTest::newRow("past the bottom") << QPoint(15, 16201) << full << QPoint(15, 7200);
        // A second screen to the right, with a panel along its top.
        const QRect second(28800, 450, 1280 * 15, 990 * 15);
        QTest::newRow("area origin") << QPoint(28000, 0) << second << QPoint(28800, 450);
        QTest::newRow("area far edge") << QPoint(40000, 9000) << second << QPoint(36000, 6300);
    }
    void savedPositionClamp()
    {
        QFETCH(QPoint, saved);
        QFETCH(QRect, screen);
        QFETCH(QPoint, expected);
        QCOMPARE(clampSavedPosition(saved, QSize(12000, 9000), screen), expected);
    }

    void savedPositionIsBroughtOnScreenAtShow_data()
    {
        QTest::addColumn<QPoint>("saved");
        QTest::addColumn<QPoint>("window");
        QTest::newRow("negative") << QPoint(-300, -300) << QPoint(0, 0);
        QTest::newRow("inside") << QPoint(3000, 1500) << QPoint(200, 100);
        QTest::newRow("past the right") << QPoint(30000, 1500) << QPoint(1120, 100);
        QTest::newRow("screen gone") << QPoint(90000, 60000) << QPoint(1120, 480);
    }
    void savedPositionIsBroughtOnScreenAtShow()
    {
        QFETCH(QPoint, saved);
        QFETCH(QPoint, window);
        savePosition(saved.x(), saved.y());
        load();
        QCOMPARE(this->window->pos(), window);
        QCOMPARE(QPoint(this->window->settings().frmMainX, this->window->settings().frmMainY),
                 window * 15);
    }

    void frameControlsAndPainting()
    {
        load();
        QVERIFY(window->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(window->mask(), frameRegion(12000, 9000));
        QCOMPARE(window->control(QStringLiteral("IMBar"))->geometry(), QRect(48, 0, 755, 25));
        QCOMPARE(window->control(QStringLiteral("Immin"))->geometry(), QRect(758, 5, 17, 16));
        QCOMPARE(window->control(QStringLiteral("Imclose"))->geometry(), QRect(779, 5, 17, 16));
        auto* notice = window->control<QLabel>(QStringLiteral("LbBR"));
        QCOMPARE(notice->geometry(), QRect(632, 571, 160, 24));
        QCOMPARE(notice->palette().color(QPalette::WindowText), QColor(Qt::white));
        for (const char* name : {"Immin", "Imclose"}) {
            // Above the title strip, which reaches under them.
            QWidget* b = button(name);
            QCOMPARE(window->childAt(b->geometry().center()), b);
            QCOMPARE(b->cursor().shape(), Qt::PointingHandCursor);
        }
        // Corners are copied as they are, a column of each band and a row of each edge is
        // stretched from the skin.
        const QImage skin = artwork::skin().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(skin.size(), QSize(271, 218));
        const QImage painted = frame()->painting();
        QCOMPARE(painted.size(), QSize(800, 600));
        const struct {
            const char* piece;
            QRect to;
            QPoint from;
        } copies[] = {
            {"top-right", {689, 0, 111, 29}, {160, 0}},
            {"bottom-right", {689, 565, 111, 35}, {160, 183}},
            {"bottom-left", {0, 560, 30, 40}, {0, 178}},
            {"title band", {400, 0, 1, 40}, {30, 0}},
            {"bottom band", {400, 560, 1, 40}, {30, 178}},
            {"left edge", {0, 300, 13, 1}, {0, 60}},
            {"right edge", {787, 300, 13, 1}, {258, 60}},
        };
        for (const auto& c : copies)
            QVERIFY2(painted.copy(c.to) == skin.copy(QRect(c.from, c.to.size())), c.piece);
        // The icon over the top-left corner, then the caption in white beside it.
        QImage icon = skin.copy(7, 5, 16, 16);
        QPainter(&icon).drawImage(0, 0, artwork::programIcon());
        QCOMPARE(painted.copy(7, 5, 16, 16), icon);
        int white = 0;
        for (int y = 5; y < 25; ++y)
            for (int x = 28; x < 200; ++x) white += painted.pixel(x, y) == qRgb(255, 255, 255);
        QVERIFY(white > 20);
    }

    void captionButtonLooksAndLeavingRule()
    {
        load();
        CaptionButton* minimise = button("Immin");
        CaptionButton* close = button("Imclose");
        QVERIFY(minimise->image().isNull());
        moveOver(minimise);
        QCOMPARE(minimise->tag(), QStringLiteral("1"));
        const QImage hover = minimise->image();
        QVERIFY(!hover.isNull());
        send(minimise, QEvent::MouseButtonPress, Qt::RightButton, {3, 3}, Qt::RightButton);
        QVERIFY(!minimise->image().isNull() && minimise->image() != hover);
        QCOMPARE(minimise->tag(), QStringLiteral("1"));  // a press leaves the Tag alone
        send(minimise, QEvent::MouseButtonRelease, Qt::RightButton, {3, 3});
        QVERIFY(minimise->image().isNull());
        QVERIFY(minimise->tag().isEmpty());
        QVERIFY(window->isVisible());  // a right click is no click

        // A press without a move before it still shows the pressed look.
        send(close, QEvent::MouseButtonPress, Qt::LeftButton, {3, 3}, Qt::LeftButton);
        QVERIFY(!close->image().isNull());
        QVERIFY(close->tag().isEmpty());
        send(close, QEvent::MouseButtonRelease, Qt::LeftButton, {40, 40});  // released elsewhere
        QVERIFY(close->image().isNull());
        QVERIFY(host.messages.isEmpty());

        // Only the background and the title strip clear the hover look.
        moveOver(minimise);
        moveOver(close);
        moveOver(window->control(QStringLiteral("Label1")));
        moveOver(window->control(QStringLiteral("Picture1")));
        QCOMPARE(close->tag(), QStringLiteral("1"));
        QCOMPARE(minimise->tag(), QStringLiteral("1"));
        moveOver(window.get(), {5, 300});
        QVERIFY(close->tag().isEmpty() && close->image().isNull());
        QVERIFY(minimise->tag().isEmpty());
        moveOver(close);
        moveOver(window->control(QStringLiteral("IMBar")), {100, 10});
        QVERIFY(close->tag().isEmpty() && close->image().isNull());
    }

    void dragSurfaces_data()
    {
        QTest::addColumn<QString>("surface");  // empty: the window's own background
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("drags");
        QTest::newRow("background left") << QString() << Qt::LeftButton << true;
        QTest::newRow("background right") << QString() << Qt::RightButton << false;
        QTest::newRow("IMBar left") << "IMBar" << Qt::LeftButton << true;
        QTest::newRow("IMBar right") << "IMBar" << Qt::RightButton << false;
        QTest::newRow("Label2 left") << "Label2" << Qt::LeftButton << true;
        QTest::newRow("Label2 right") << "Label2" << Qt::RightButton << false;
        QTest::newRow("Label1 right") << "Label1" << Qt::RightButton << true;
        QTest::newRow("Picture1 middle") << "Picture1" << Qt::MiddleButton << true;
        QTest::newRow("Label3 left") << "Label3" << Qt::LeftButton << false;
        QTest::newRow("LbBR left") << "LbBR" << Qt::LeftButton << false;
    }
    void dragSurfaces()
    {
        QFETCH(QString, surface);
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, drags);
        load();
        QWidget* target = surface.isEmpty() ? window.get() : window->control(surface);
        const QPoint at = surface.isEmpty() ? QPoint(5, 300) : QPoint(3, 3);
        send(target, QEvent::MouseButtonPress, button, at, button);
        send(target, QEvent::MouseButtonRelease, button, at);
        QCOMPARE(recorder.requests.size(), drags ? 1 : 0);
        if (drags) {
            QCOMPARE(recorder.requests[0].button, button);
            QCOMPARE(recorder.requests[0].at, QPointF(target->mapToGlobal(at)));
        }
    }

    void withoutSystemMoveTheWindowFollowsThePointer()
    {
        load();
        frame()->setMover(nullptr);  // the real mover; this platform has no system move
        QWidget* bar = window->control(QStringLiteral("IMBar"));
        const QPoint start = window->pos();
        const QPoint press(100, 10);
        send(bar, QEvent::MouseButtonPress, Qt::LeftButton, press, Qt::LeftButton);
        auto dragTo = [&](QPoint delta, Qt::MouseButtons held) {
            const QPoint global = start + bar->pos() + press + delta;
            QMouseEvent e(QEvent::MouseMove, bar->mapFromGlobal(global), global, Qt::NoButton, held,
                          Qt::NoModifier);
            QApplication::sendEvent(bar, &e);
        };
        dragTo({30, 20}, Qt::LeftButton);
        QCOMPARE(window->pos(), start + QPoint(30, 20));
        dragTo({-10, 45}, Qt::LeftButton);
        QCOMPARE(window->pos(), start + QPoint(-10, 45));
        send(bar, QEvent::MouseButtonRelease, Qt::LeftButton, press);
        dragTo({200, 200}, Qt::NoButton);
        QCOMPARE(window->pos(), start + QPoint(-10, 45));
    }

    void minimiseThenRestoreReturnsToThePositionAtTheClick()
    {
        savePosition(3000, 1500);
        load();
        QCOMPARE(window->pos(), QPoint(200, 100));
        window->move(300, 250);  // where a drag left it
        CaptionButton* minimise = button("Immin");
        send(minimise, QEvent::MouseButtonPress, Qt::LeftButton, {3, 3}, Qt::LeftButton);
        send(minimise, QEvent::MouseButtonRelease, Qt::LeftButton, {3, 3});
        QVERIFY(window->isMinimized());
        QCOMPARE(window->settings().frmMainX, 4500);
        QCOMPARE(window->settings().frmMainY, 3750);
        const qint64 painting = frame()->painting().cacheKey();
        window->showNormal();
        QCOMPARE(window->pos(), QPoint(300, 250));
        QVERIFY(frame()->painting().cacheKey() != painting);  // repainted on restore

        // Minimised by other means after a drag: back to the last saved position.
        window->move(500, 400);
        window->showMinimized();
        window->showNormal();
        QCOMPARE(window->pos(), QPoint(300, 250));
    }

    void closeImageAsksAndOnlyYesCloses()
    {
        load();
        CaptionButton* close = button("Imclose");
        host.messageAnswers << MsgAnswer::No << MsgAnswer::Yes;
        QTest::mouseClick(close, Qt::LeftButton);
        QCOMPARE(host.messages.size(), 1);
        QCOMPARE(host.messages[0].text, QStringLiteral("你确定要关闭并结束程序吗？"));
        QVERIFY(window->isVisible());
        QVERIFY(!QFile::exists(ini()));
        window->move(40, 30);
        QTest::mouseClick(close, Qt::LeftButton);
        QVERIFY(!window->isVisible());
        QSettings raw(ini(), QSettings::IniFormat);
        QCOMPARE(raw.value(QStringLiteral("SetLog/frmMainX")).toString(), QStringLiteral("600"));
        QCOMPARE(raw.value(QStringLiteral("SetLog/frmMainY")).toString(), QStringLiteral("450"));
    }
};

int main(int argc, char** argv)
{
    QTemporaryDir config;
    const QString screens = config.filePath(QStringLiteral("screens.json"));
    QFile f(screens);
    if (!f.open(QIODevice::WriteOnly)) return 1;
    f.write(R"({"windowFrameMargins": false, "screens": [{"name": "wide", "x": 0, "y": 0,
              "width": 1920, "height": 1080, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    f.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screens.toLocal8Bit());
    QApplication app(argc, argv);
    FrameTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_frame.moc"
