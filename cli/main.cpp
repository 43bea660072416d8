// orvello-stamp: EXIF listing and stamping without the window.
#include "app/appinfo.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

int usage()
{
    QTextStream(stderr) << "usage: orvello-stamp exif PHOTO...\n"
                           "       orvello-stamp stamp [--title TEXT] [--rotate left|right]... "
                           "[--out DIR] PHOTO...\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(orvello::appinfo::applicationTitle());
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return usage();
    if (args.first() == QLatin1String("--version")) {
        QTextStream(stdout) << orvello::appinfo::windowCaption() << '\n';
        return 0;
    }
    return usage();
}
