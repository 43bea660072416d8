// The real host's dialogs, answered by a timer as a user would answer them.
#include "ui/qthost.h"

#include <QApplication>
#include <QColorDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
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
