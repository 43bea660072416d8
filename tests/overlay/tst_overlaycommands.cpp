#include "app/startup.h"
#include "overlay/fontpicker.h"
#include "overlay/overlay.h"
#include "overlay/overlaycommands.h"
#include "overlay/overlayfonts.h"
#include "tests/support/scriptedhost.h"

#include <QtTest>

using namespace orvello;

namespace {

constexpr int kTitleButtonTop = 4440;  // any two different tops do
constexpr int kDateButtonTop = 5040;

QStringList someFamilies()
{
    return {QStringLiteral("AR PL UMing CN"), QStringLiteral("@AR PL UMing CN"),
            QStringLiteral("DigifaceWide"), QStringLiteral("Sans"), QStringLiteral("@Vertical")};
}

}  // namespace

class OverlayCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(loadDateFonts(QStringLiteral(ORVELLO_BIN_DIR))); }

    void buttonsMapToCommands()
    {
        QCOMPARE(overlayCommandForButton(5), OverlayCommand::TitleUp);
        QCOMPARE(overlayCommandForButton(12), OverlayCommand::DateRight);
        QCOMPARE(overlayCommandForButton(15), OverlayCommand::Shrink);
        QCOMPARE(overlayCommandForButton(16), OverlayCommand::ToggleItalic);
        QCOMPARE(overlayCommandForButton(17), OverlayCommand::Enlarge);
        QCOMPARE(overlayCommandForButton(18), OverlayCommand::ToggleBold);
        for (int n : {2, 4, 13, 14, 19, 20}) QVERIFY(!overlayCommandForButton(n));
    }

    void nudgesMoveOneFieldHalfAPercent()
    {
        const struct {
            int button;
            float AppSettings::*field;
            float delta;
        } cases[] = {{5, &AppSettings::addCurrentY2, -0.5f}, {6, &AppSettings::addCurrentY2, 0.5f},
                     {7, &AppSettings::addCurrentX2, -0.5f}, {8, &AppSettings::addCurrentX2, 0.5f},
                     {9, &AppSettings::addCurrentY, -0.5f},  {10, &AppSettings::addCurrentY, 0.5f},
                     {11, &AppSettings::addCurrentX, -0.5f}, {12, &AppSettings::addCurrentX, 0.5f}};
        for (const auto& c : cases) {
            AppSettings s;
            const AppSettings before;
            QVERIFY(runOverlayCommand(*overlayCommandForButton(c.button), s, true));
            QCOMPARE(s.*c.field, before.*c.field + c.delta);
            s.*c.field = before.*c.field;
            // No other position moved.
            QVERIFY(s.addCurrentX == before.addCurrentX && s.addCurrentY == before.addCurrentY &&
                    s.addCurrentX2 == before.addCurrentX2 && s.addCurrentY2 == before.addCurrentY2);
        }

        AppSettings s;
        for (int i = 0; i < 20; ++i) runOverlayCommand(OverlayCommand::TitleLeft, s, true);
        QCOMPARE(s.addCurrentX2, -5.0f);

        // Half a percent of a 4000-pixel width is 20 pixels, of a 1000-pixel width 5.
        AppSettings moved;
        runOverlayCommand(OverlayCommand::DateRight, moved, true);
        for (int width : {4000, 1000}) {
            const QSize size(width, width / 2);
            const double a =
                computeOverlayLayout(size, makeOverlayInput(AppSettings(), {}, {}, false))
                    .dateTwips.x();
            const double b =
                computeOverlayLayout(size, makeOverlayInput(moved, {}, {}, false)).dateTwips.x();
            QCOMPARE((b - a) / kTwipsPerPixel, width / 200.0);
        }
    }

    void sizeStepsStayInBounds()
    {
        AppSettings s;
        for (int i = 0; i < 10; ++i) runOverlayCommand(OverlayCommand::Enlarge, s, true);
        QVERIFY(std::abs(s.addFontSize - 3.0f) < 1e-5f);
        QCOMPARE(
            computeOverlayLayout(QSize(3000, 2000), makeOverlayInput(s, {}, {}, false)).fontPixels,
            120);

        for (int i = 0; i < 60; ++i) {
            runOverlayCommand(OverlayCommand::Shrink, s, true);
            QVERIFY(s.addFontSize >= kMinFontSize);
        }
        QCOMPARE(s.addFontSize, kMinFontSize);

        s.addFontSize = 99.95f;
        runOverlayCommand(OverlayCommand::Enlarge, s, true);
        runOverlayCommand(OverlayCommand::Enlarge, s, true);
        QCOMPARE(s.addFontSize, kMaxFontSize);

        // Stored sizes out of range come back to the bound they were drawn at.
        s.addFontSize = -5.0f;
        runOverlayCommand(OverlayCommand::Shrink, s, true);
        QCOMPARE(s.addFontSize, kMinFontSize);
        s.addFontSize = 500.0f;
        runOverlayCommand(OverlayCommand::Enlarge, s, true);
        QCOMPARE(s.addFontSize, kMaxFontSize);
    }

    void togglesAndNoPhoto()
    {
        AppSettings s;
        runOverlayCommand(OverlayCommand::ToggleBold, s, true);
        QVERIFY(s.addFontBold);
        runOverlayCommand(OverlayCommand::ToggleBold, s, true);
        runOverlayCommand(OverlayCommand::ToggleItalic, s, true);
        QVERIFY(s.addFontItalic);
        runOverlayCommand(OverlayCommand::ToggleItalic, s, true);
        QVERIFY(!s.addFontBold && !s.addFontItalic);

        // Without a photo no command changes anything or asks to redraw.
        for (int n : {5, 6, 7, 8, 9, 10, 11, 12, 15, 16, 17, 18})
            QVERIFY(!runOverlayCommand(*overlayCommandForButton(n), s, false));
        const AppSettings d;
        QVERIFY(s.addCurrentX == d.addCurrentX && s.addCurrentY2 == d.addCurrentY2 &&
                s.addFontSize == d.addFontSize && !s.addFontBold && !s.addFontItalic);
    }

    void colourCommand()
    {
        AppSettings s;
        test::ScriptedHost host;
        QVERIFY(!runTextColorCommand(s, host, false));
        QVERIFY(host.colorDialogs.isEmpty());

        host.colorAnswers << QColor(10, 20, 30) << std::nullopt;
        QVERIFY(runTextColorCommand(s, host, true));
        QCOMPARE(s.addForeColor, 10 + 256 * 20 + 65536 * 30);
        QCOMPARE(host.colorDialogs.value(0), QColor(255, 255, 128));  // opens on the current one
        QVERIFY(runTextColorCommand(s, host, true));                  // cancelled: still redraws
        QCOMPARE(s.addForeColor, 10 + 256 * 20 + 65536 * 30);
        QCOMPARE(host.colorDialogs.value(1), QColor(10, 20, 30));
    }

    void pickerOpensTogglesAndRetargets()
    {
        AppSettings s;
        s.addFont2 = QStringLiteral("Not Installed");
        FontPicker picker(kTitleButtonTop, kDateButtonTop, 0, someFamilies);
        QVERIFY(!picker.isVisible());

        picker.fontButtonClicked(PickerTarget::Title, s, false);
        QVERIFY(!picker.isVisible());

        picker.fontButtonClicked(PickerTarget::Title, s, true);
        QVERIFY(picker.isVisible());
        QCOMPARE(picker.left(), 7950);
        QCOMPARE(picker.top(), kTitleButtonTop);
        QCOMPARE(picker.target(), PickerTarget::Title);
        QCOMPARE(picker.entries(),
                 QStringList({QStringLiteral("AR PL UMing CN"), QStringLiteral("DigifaceWide"),
                              QStringLiteral("Sans")}));
        QCOMPARE(picker.selectedRow(), 0);  // the title face is not listed

        // The date button re-targets the open picker at once, with the date face selected.
        picker.fontButtonClicked(PickerTarget::Date, s, true);
        QVERIFY(picker.isVisible());
        QCOMPARE(picker.top(), kDateButtonTop);
        QCOMPARE(picker.selectedName(), QStringLiteral("DigifaceWide"));
        picker.fontButtonClicked(PickerTarget::Date, s, true);
        QVERIFY(!picker.isVisible());
        QVERIFY(picker.entries().isEmpty());
        QVERIFY(!picker.entryDoubleClicked(s, true));

        // A double click chooses for the item the picker serves and closes it.
        picker.fontButtonClicked(PickerTarget::Title, s, true);
        picker.selectRow(2);
        picker.selectRow(7);  // out of range: the selection stays
        QVERIFY(!picker.entryDoubleClicked(s, false));
        QVERIFY(picker.entryDoubleClicked(s, true));
        QCOMPARE(s.addFont2, QStringLiteral("Sans"));
        QCOMPARE(s.addFont, QStringLiteral("DigifaceWide"));
        QVERIFY(!picker.isVisible());

        // With nothing to list nothing is chosen.
        FontPicker empty(kTitleButtonTop, kDateButtonTop, 0, [] { return QStringList(); });
        empty.fontButtonClicked(PickerTarget::Date, s, true);
        QCOMPARE(empty.selectedRow(), -1);
        QVERIFY(!empty.entryDoubleClicked(s, true));
        QCOMPARE(s.addFont, QStringLiteral("DigifaceWide"));
    }

    void pickerListsTheDateFaceByItsName()
    {
        const QStringList names = overlayFontFamilies();
        QVERIFY(names.contains(QStringLiteral("DigifaceWide")));
        QVERIFY(!names.contains(QStringLiteral("DSEG7 Classic")));
        FontPicker picker(kTitleButtonTop, kDateButtonTop);
        picker.fontButtonClicked(PickerTarget::Date, AppSettings(), true);
        QCOMPARE(picker.selectedName(), QStringLiteral("DigifaceWide"));
        for (const QString& name : picker.entries()) QVERIFY(!name.startsWith(QLatin1Char('@')));
    }
};

QTEST_MAIN(OverlayCommandsTest)
#include "tst_overlaycommands.moc"
