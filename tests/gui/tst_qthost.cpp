// The real host's dialogs, answered by a timer as a user would answer them.
#include "ui/qthost.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>
#include <functional>

using namespace orvello;

namespace {

// Runs answer on the first visible top-level widget of type T once the dialog is up.
template <typename T>
void whenShown(std::function<void(T*)> answer)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, answer] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<T*>(w); dialog && dialog->isVisible()) {
                timer->stop();
                timer->deleteLater();
                answer(dialog);
                return;
            }
        }
    });
    timer->start();
}

}  // namespace

class QtHostTest : public QObject {
    Q_OBJECT

private slots:
    void messageBoxIsWideEnoughForItsTitle()
    {
        QtHost host;
        int width = -1;
        QString text;
        whenShown<QMessageBox>([&](QMessageBox* box) {
            width = box->width();
            text = box->text();
            box->button(QMessageBox::Ok)->click();
        });
        MessageRequest m;
        m.text = QStringLiteral("存储失败！");
        m.title = QStringLiteral("Orvello");
        QCOMPARE(host.showMessage(m), MsgAnswer::Ok);
        QCOMPARE(text, m.text);
        QVERIFY2(width >= kMinimumMessageWidth, qPrintable(QString::number(width)));
        const QFontMetrics metrics(QApplication::font());
        QVERIFY(messageBoxMinimumWidth(QString(60, u'W'), metrics) >
                metrics.horizontalAdvance(QString(60, u'W')));
    }

    // 全部保存…'s options open on the choices given and return what the user set; Cancel
    // returns nothing.
    void saveAllOptionsDialog_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("confirmed") << true;
        QTest::newRow("cancelled") << false;
    }
    void saveAllOptionsDialog()
    {
        QFETCH(bool, confirm);
        QtHost host;
        SaveAllOptions shownWith;
        whenShown<QDialog>([&](QDialog* dialog) {
            auto* keep = dialog->findChild<QCheckBox*>(QStringLiteral("keepExif"));
            auto* quality = dialog->findChild<QSpinBox*>(QStringLiteral("quality"));
            auto* lossless = dialog->findChild<QCheckBox*>(QStringLiteral("lossless"));
            if (!keep || !quality || !lossless) return dialog->reject();
            shownWith = {keep->isChecked(), quality->value(), lossless->isChecked()};
            QCOMPARE(keep->text(), QStringLiteral("保留EXIF信息"));
            QCOMPARE(lossless->text(), QStringLiteral("无损"));
            QCOMPARE(quality->minimum(), 1);
            QCOMPARE(quality->maximum(), 100);
            keep->click();
            quality->setValue(72);
            auto* buttons = dialog->findChild<QDialogButtonBox*>();
            buttons->button(confirm ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
        });
        const std::optional<SaveAllOptions> chosen =
            host.chooseSaveAllOptions(SaveAllOptions{false, 90, true});
        QCOMPARE(shownWith, (SaveAllOptions{false, 90, true}));
        if (confirm)
            QCOMPARE(chosen, std::optional(SaveAllOptions{true, 72, true}));
        else
            QVERIFY(!chosen);
    }

    void colourDialogOpensOnTheColourWithNoCustomColoursKept()
    {
        QtHost host;
        QColorDialog::setCustomColor(2, QColor(200, 0, 0));  // as an earlier call would leave it
        QColor shownWith, custom;
        whenShown<QColorDialog>([&](QColorDialog* dialog) {
            shownWith = dialog->currentColor();
            custom = QColorDialog::customColor(2);
            dialog->setCurrentColor(QColor(1, 2, 3));
            dialog->accept();
        });
        QCOMPARE(host.chooseColor(QColor(255, 255, 128)), std::optional<QColor>(QColor(1, 2, 3)));
        QCOMPARE(shownWith, QColor(255, 255, 128));
        QCOMPARE(custom, QColor(Qt::black));
    }

    // The setup dialog is the one that lists the printers, opened on the given printer.
    void printSetupOffersThePrinters()
    {
        QtHost host;
        QPrinter printer;
        printer.setPageOrientation(QPageLayout::Landscape);
        const QPrinter* shownFor = nullptr;
        whenShown<QPrintDialog>([&](QPrintDialog* dialog) {
            shownFor = dialog->printer();
            dialog->reject();
        });
        QVERIFY(!host.printSetup(printer, PrintSetupRequest{}));
        QCOMPARE(shownFor, &printer);
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
    }
};

QTEST_MAIN(QtHostTest)
#include "tst_qthost.moc"
