// The floor of the start-up benchmark: a bare Qt window, ended at its first painted frame.
#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace {

class Bare : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter(this).fillRect(rect(), Qt::lightGray);
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    }
};

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Bare w;
    w.resize(800, 600);
    w.show();
    return QApplication::exec();
}
