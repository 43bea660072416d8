// orvello-xbgallery: writes one PNG that shows an XPButton of every shape (rows) in each visual
// state (columns: normal, hot, pressed, focused as the default button, disabled), so that a
// change to a look can be judged at a glance.
//   orvello-xbgallery OUT.png [STYLE ...]   (looks 0..7; all eight when none is named)
#include "xpbutton/xpbutton.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPainter>
#include <QStringList>
#include <cstdio>

using namespace orvello;

namespace {

constexpr int kWidth = 132, kHeight = 34, kGap = 10, kLabelWidth = 92, kHeaderHeight = 22;

const char* const kStates[] = {"normal", "hot", "pressed", "focused", "disabled"};
const char* const kShapes[] = {"rectangle", "slant left", "slant right", "parallelogram",
                               "ellipse",   "ellipse 2",  "ellipse ring"};

// A 16-pixel bitmap on a magenta key: a blue square with a green bar, so that the transparent
// copy and the embossed disabled picture both show.
XbPicture samplePicture()
{
    QImage img(16, 16, QImage::Format_RGB32);
    img.fill(QColor(255, 0, 255));
    for (int y = 3; y < 13; ++y)
        for (int x = 3; x < 13; ++x) img.setPixelColor(x, y, QColor(30, 80, 200));
    for (int x = 5; x < 11; ++x) img.setPixelColor(x, 7, QColor(40, 200, 60));
    return XbPicture(img);
}

// One button of the given look, shape and state, as its surface shows it, laid over the sheet
// where its window region lets the container show through.
void drawButton(QImage& sheet, QWidget& container, int style, int shape, int state, QPoint at)
{
    XPButton b(&container);
    b.setObjectName(QStringLiteral("XPButton1"));
    b.resize(kWidth, kHeight);
    b.initProperties();
    b.DelayDrawing(true);
    b.setFont(QFont(QStringLiteral("AR PL UMing CN"), 9));
    b.setButtonStyle(style);
    b.setCaption(QStringLiteral("打开 &Open"));
    b.setPicture(samplePicture());
    b.DelayDrawing(false);
    b.setButtonShape(shape);
    switch (state) {
    case 1: b.showState(4); break;
    case 2: b.showState(6, true); break;
    case 3: b.setDisplayAsDefault(true); break;
    case 4: b.setEnabled(false); break;
    default: b.Refresh(); break;
    }
    const QImage face = b.surface();
    for (const QRect& run : b.shapeRegion().pixels())
        for (int y = run.top(); y <= run.bottom(); ++y)
            for (int x = run.left(); x <= run.right(); ++x)
                if (face.rect().contains(x, y) && sheet.rect().contains(at.x() + x, at.y() + y))
                    sheet.setPixel(at.x() + x, at.y() + y, face.pixel(x, y));
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const char* const usage = "usage: orvello-xbgallery OUT.png [STYLE ...]\n";
    if (!args.isEmpty() &&
        (args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h"))) {
        std::printf(
            "%s%s", usage,
            "Writes one PNG sheet of XPButton looks: for each look (STYLE 0 to 7, all when\n"
            "none is named) every shape in the states normal, hot, pressed, focused as the\n"
            "default button, and disabled.\n");
        return 0;
    }
    // An output name that reads as an option is a mistake, not a file to write.
    if (args.isEmpty() || args.first().startsWith(QLatin1Char('-'))) {
        std::fprintf(stderr, "%s", usage);
        return 2;
    }
    QList<int> styles;
    for (const QString& a : args.mid(1)) {
        bool ok = false;
        const int s = a.toInt(&ok);
        if (!ok || s < 0 || s > 7) {
            std::fprintf(stderr, "orvello-xbgallery: a style is a number from 0 to 7\n");
            return 2;
        }
        styles << s;
    }
    if (styles.isEmpty()) styles = {0, 1, 2, 3, 4, 5, 6, 7};

    const int rowsPerStyle = int(std::size(kShapes));
    const int cols = int(std::size(kStates));
    const int cellW = kWidth + 5 + kGap, cellH = kHeight + kGap;
    QImage sheet(kLabelWidth + cols * cellW + kGap,
                 int(styles.size()) * (kHeaderHeight + rowsPerStyle * cellH) + kGap,
                 QImage::Format_RGB32);
    QWidget container;
    const QColor back = container.palette().color(QPalette::Button);
    sheet.fill(back);
    int y = kGap / 2;
    for (int style : styles) {
        {
            QPainter p(&sheet);
            p.setPen(Qt::black);
            p.drawText(QPoint(6, y + 15), QStringLiteral("style %1").arg(style));
            for (int c = 0; c < cols; ++c)
                p.drawText(QPoint(kLabelWidth + c * cellW, y + 15),
                           QString::fromLatin1(kStates[c]));
        }
        y += kHeaderHeight;
        for (int shape = 0; shape < rowsPerStyle; ++shape) {
            QPainter(&sheet).drawText(QPoint(6, y + kHeight / 2 + 5),
                                      QString::fromLatin1(kShapes[shape]));
            for (int c = 0; c < cols; ++c)
                drawButton(sheet, container, style, shape, c, QPoint(kLabelWidth + c * cellW, y));
            y += cellH;
        }
    }
    if (!sheet.save(args.first(), "PNG")) {
        std::fprintf(stderr, "orvello-xbgallery: cannot write %s\n", qPrintable(args.first()));
        return 1;
    }
    return 0;
}
