// Input and hover tracking: the order of the events a click, a key or a double click raises,
// the hover timer, arrows handed to the container, option groups receiving focus, click storms
// and a control destroyed while it tracks the pointer.
#include "tests/xpbutton/xbpixels.h"
#include "xpbutton/input/dragdata.h"
#include "xpbutton/input/modxbtimer.h"

#include <QAccessible>

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QtTest>

using namespace orvello;
using test::PixelButton;

namespace {

// Records the control's events in the order raised.
struct EventLog : QObject {
    QStringList events;
    explicit EventLog(XPButton* b)
    {
        connect(b, &XPButton::MouseDown, this, [this](int btn, int, float, float) {
            events << QStringLiteral("MouseDown %1").arg(btn);
        });
        connect(b, &XPButton::MouseUp, this, [this](int btn, int, float, float) {
            events << QStringLiteral("MouseUp %1").arg(btn);
        });
        connect(b, &XPButton::MouseMove, this, [this](int, int, float, float) {
            if (events.isEmpty() || events.last() != QLatin1String("MouseMove"))
                events << QStringLiteral("MouseMove");
        });
        connect(b, &XPButton::KeyDown, this,
                [this](int& key, int) { events << QStringLiteral("KeyDown %1").arg(key); });
        connect(b, &XPButton::KeyUp, this,
                [this](int& key, int) { events << QStringLiteral("KeyUp %1").arg(key); });
        connect(b, &XPButton::MouseOnButton, this,
                [this](bool& on) { events << QStringLiteral("MouseOnButton %1").arg(on); });
        connect(b, &XPButton::Click, this, [this] { events << QStringLiteral("Click"); });
        connect(b, &XPButton::DblClick, this,
                [this](int& last) { events << QStringLiteral("DblClick %1").arg(last); });
    }
};

// The container's own key presses.
struct KeyCatcher : QObject {
    QList<QPair<int, quint32>> keys;  // key, native scan code
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::KeyPress) {
            const auto* k = static_cast<QKeyEvent*>(e);
            keys.append({k->key(), k->nativeScanCode()});
        }
        return false;
    }
};

}  // namespace

class InputTest : public QObject {
    Q_OBJECT

    // A shown command button of look 2 with the pointer placed away from it.
    std::unique_ptr<PixelButton> shown()
    {
        auto p = std::make_unique<PixelButton>(100, 30, 2, 0, QStringLiteral("Go"));
        p->b->move(50, 50);
        p->container->show();
        QCursor::setPos(p->container->mapToGlobal(QPoint(5, 5)));
        return p;
    }

private slots:
    void clickOrderAndLeavingAfterTheNextTick()
    {
        auto p = shown();
        EventLog log(p->b);
        QTest::mouseMove(p->b, QPoint(10, 10));
        QVERIFY(p->b->isHot());
        QCOMPARE(p->b->property("xb_TimerID").toInt(), 237);
        QCOMPARE(p->b->property("xb_ClassID").toULongLong(), qulonglong(quintptr(p->b)));
        QVERIFY(modXbTimer::TimerRunning(p->b, 237));
        QTest::mouseMove(p->b, QPoint(20, 12));  // already hot: MouseMove only
        QTest::mouseClick(p->b, Qt::LeftButton, {}, QPoint(20, 12));
        QTest::qWait(120);  // the pointer is still over the button: it stays hot
        QVERIFY(p->b->isHot());
        QCursor::setPos(p->container->mapToGlobal(QPoint(5, 5)));
        QTRY_VERIFY(!p->b->isHot());
        QCOMPARE(log.events, (QStringList{"MouseOnButton 1", "MouseMove", "MouseDown 1",
                                          "MouseUp 1", "Click", "MouseOnButton 0"}));
        QVERIFY(!modXbTimer::TimerRunning(p->b, 237));
        QCOMPARE(p->b->stateFlags() & 6, 0);
    }

    void rightClickRaisesNoClick()
    {
        PixelButton p(100, 30);
        EventLog log(p.b);
        QTest::mouseClick(p.b, Qt::RightButton);
        QCOMPARE(log.events, (QStringList{"MouseDown 2", "MouseUp 2"}));
    }

    void spaceBarOrder_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("command") << 0 << QStringList{"KeyDown 32", "Click", "KeyUp 32"};
        QTest::newRow("check") << 1 << QStringList{"KeyDown 32", "KeyUp 32", "Click"};
    }
    void spaceBarOrder()
    {
        QFETCH(int, mode);
        QFETCH(QStringList, expected);
        PixelButton p(100, 30);
        p.b->setMode(mode);
        EventLog log(p.b);
        QTest::keyPress(p.b, Qt::Key_Space);
        QCOMPARE(p.b->stateFlags() & 6, 2);  // pressed, and not hot: the pointer is elsewhere
        QTest::keyRelease(p.b, Qt::Key_Space);
        QCOMPARE(log.events, expected);
        QCOMPARE(p.b->value(), mode == 1);
    }

    // What reaches the screen while the space bar is held, the pointer elsewhere: the pressed
    // face, through the key's auto-repeat and any number of paint requests; the normal face again
    // after the release.
    void heldSpaceBarPaintsThePressedFace()
    {
        auto p = shown();
        const QPoint mid(10, 15);  // on the face, left of the caption
        const auto painted = [&] { return raster::fromArgb(p->b->grab().toImage().pixel(mid)); };
        const OleColor normal = painted();
        const auto space = [&](QEvent::Type type, bool repeat) {
            QKeyEvent e(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), repeat);
            QApplication::sendEvent(p->b, &e);
        };
        space(QEvent::KeyPress, false);
        const OleColor pressed = ShiftColor(p->b->pressedFaceColor(), -12, true);  // row 15 of 30
        QVERIFY(pressed != normal);
        QCOMPARE(painted(), pressed);
        for (int i = 0; i < 3; ++i) {
            space(QEvent::KeyRelease, true);
            space(QEvent::KeyPress, true);
            QCOMPARE(painted(), pressed);
        }
        space(QEvent::KeyRelease, false);
        QCOMPARE(painted(), normal);
    }

    // The space bar held where the X server repeats it as unmarked release and press pairs with
    // one time stamp (Xvfb): one click, on the real release. A tapped key clicks every time.
    void spaceBarRepeatedAsPairsClicksOnRelease()
    {
        PixelButton p(100, 30);
        EventLog log(p.b);
        const auto space = [&](QEvent::Type type, quint64 time) {
            QKeyEvent e(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
            e.setTimestamp(time);
            QApplication::sendEvent(p.b, &e);
        };
        const auto clicks = [&] { return int(log.events.count(QStringLiteral("Click"))); };
        p.host.keyHeld = true;
        space(QEvent::KeyPress, 1000);
        for (quint64 t = 1500; t < 4500; t += 40) {
            space(QEvent::KeyRelease, t);
            space(QEvent::KeyPress, t);
        }
        QCOMPARE(clicks(), 0);
        QCOMPARE(p.b->stateFlags() & 2, 2);  // still pressed
        p.host.keyHeld = false;
        space(QEvent::KeyRelease, 4500);
        QCOMPARE(clicks(), 1);
        // A pair whose release came after the key was let go: its press starts nothing.
        space(QEvent::KeyPress, 4500);
        space(QEvent::KeyRelease, 4530);
        QCOMPARE(clicks(), 1);
        for (quint64 t = 5000; t < 5300; t += 100) {
            space(QEvent::KeyPress, t);
            space(QEvent::KeyRelease, t + 50);
        }
        QCOMPARE(clicks(), 4);
    }

    // What a screen reader is told: role by mode, the caption without its access-key mark, the
    // pressed, checked and disabled states, and a press that clicks once the caller has returned.
    void screenReaderSeesRoleStateAndPress()
    {
        PixelButton p(100, 30);
        EventLog log(p.b);
        p.b->setCaption(QStringLiteral("打开&O"));
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(p.b);
        QVERIFY(a);
        QCOMPARE(a->role(), QAccessible::Button);
        QCOMPARE(a->text(QAccessible::Name), QStringLiteral("打开O"));
        QTest::keyPress(p.b, Qt::Key_Space);
        QVERIFY(a->state().pressed);
        QTest::keyRelease(p.b, Qt::Key_Space);
        QVERIFY(!a->state().pressed);
        log.events.clear();
        a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(log.events.isEmpty());
        QTRY_COMPARE(log.events, QStringList{QStringLiteral("Click")});
        p.b->setMode(1);
        a->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QTRY_VERIFY(a->state().checked);
        QCOMPARE(a->role(), QAccessible::CheckBox);
        p.b->setEnabled(false);
        QVERIFY(a->state().disabled);
        QVERIFY(a->actionInterface()->actionNames().isEmpty());
    }

    void arrowsReachTheContainerAsItsOwnKeys()
    {
        PixelButton p(100, 30);
        KeyCatcher catcher;
        p.container->installEventFilter(&catcher);
        EventLog log(p.b);
        QTest::keyClick(p.b, Qt::Key_Right);
        QTest::keyClick(p.b, Qt::Key_Up);
        QCoreApplication::processEvents();
        QVERIFY(log.events.isEmpty());
        QCOMPARE(catcher.keys,
                 (QList<QPair<int, quint32>>{{Qt::Key_Right, 0x4D}, {Qt::Key_Up, 0x48}}));
    }

    void doubleClickLeavesTheLastButtonAtMinusOne()
    {
        PixelButton p(100, 30);
        EventLog log(p.b);
        QTest::mouseClick(p.b, Qt::LeftButton);
        QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(5, 5), p.b->mapToGlobal(QPointF(5, 5)),
                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(p.b, &dbl);
        QCOMPARE(p.b->lastMouseButton(), -1);
        QCOMPARE(p.b->stateFlags() & 2, 2);  // the second press shows pressed
        QTest::mouseRelease(p.b, Qt::LeftButton);
        QCOMPARE(log.events, (QStringList{"MouseDown 1", "MouseUp 1", "Click", "DblClick 1",
                                          "MouseDown 1", "MouseUp 1"}));
        QCOMPARE(p.b->lastMouseButton(), 1);
    }

    void focusSelectsAnOptionOnlyInAnEmptyGroup()
    {
        PixelButton p(100, 30);
        auto* other = new XPButton(p.container.get(), &p.host);
        other->initProperties();
        p.b->setMode(2);
        other->setMode(2);
        p.container->show();
        QSignalSpy clicks(p.b, &XPButton::Click);
        other->setValue(true);
        QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(p.b, &in);
        QVERIFY(!p.b->value());
        QCOMPARE(clicks.count(), 0);
        other->setValue(false);
        QApplication::sendEvent(p.b, &in);
        QVERIFY(p.b->value());
        QCOMPARE(clicks.count(), 1);
        delete other;  // a destroyed member leaves its group
        QCOMPARE(p.container->property("xb_OptCount").toInt(), 1);
    }

    void clickStormStaysConsistent()
    {
        PixelButton p(100, 30);
        QSignalSpy clicks(p.b, &XPButton::Click);
        for (int i = 0; i < 300; ++i) {
            QTest::mousePress(p.b, Qt::LeftButton);
            QTest::mouseRelease(p.b, Qt::LeftButton);
            QTest::mouseRelease(p.b, Qt::LeftButton);  // a release without its press
            QTest::mouseRelease(p.b, Qt::RightButton);
        }
        QCOMPARE(clicks.count(), 300);
        QCOMPARE(p.b->stateFlags() & 6, 0);
        QVERIFY(!p.b->pressActive());
    }

    void destroyedWhileTracking()
    {
        auto p = shown();
        QTest::mouseMove(p->b, QPoint(10, 10));
        QVERIFY(modXbTimer::TimerRunning(p->b, 237));
        delete p->b;
        QTest::qWait(120);  // ticks that would have reached it
        // The callback refuses a window whose identity is not its own control.
        QWidget stranger;
        stranger.setProperty("xb_ClassID", qulonglong(0x1234));
        stranger.setProperty("xb_TimerID", 237);
        modXbTimer::SetTimer(&stranger, 237, 1);
        modXbTimer::HoverTimerProc(&stranger, 237);
        QVERIFY(!modXbTimer::TimerRunning(&stranger, 237));
    }

    // A drop target asking for a format the drag lacks gets it from the control's owner.
    void dragDataIsAskedForWhenNeeded()
    {
        PixelButton p(100, 30);
        QList<int> asked;
        QObject::connect(p.b, &XPButton::OLESetData, p.b, [&](QMimeData* data, int& format) {
            asked << format;
            if (format == 1) data->setText(QStringLiteral("dragged"));
        });
        XbDragData data(p.b);
        QCOMPARE(data.text(), QStringLiteral("dragged"));
        QCOMPARE(data.text(), QStringLiteral("dragged"));  // held now: not asked again
        QCOMPARE(asked.count(1), 1);
        asked.clear();
        QVERIFY(data.data(QStringLiteral("application/x-other")).isEmpty());
        QCOMPARE(asked, QList<int>{0});
    }

    void enterAndEscapeOnlyClickCommandButtons()
    {
        PixelButton p(100, 30);
        QSignalSpy clicks(p.b, &XPButton::Click);
        p.b->AccessKeyPress(13);
        p.b->AccessKeyPress(27);
        QCOMPARE(clicks.count(), 2);
        p.b->setMode(1);
        p.b->AccessKeyPress(13);
        QCOMPARE(clicks.count(), 2);
        p.b->AccessKeyPress('O');
        QCOMPARE(clicks.count(), 3);
        QVERIFY(p.b->value());
    }
};

QTEST_MAIN(InputTest)
#include "tst_xbinput.moc"
