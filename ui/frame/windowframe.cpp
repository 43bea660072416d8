#include "ui/frame/windowframe.h"

#include "app/settings.h"
#include "ui/design.h"
#include "ui/frame/artwork.h"
#include "ui/frame/captionbutton.h"
#include "ui/frame/frameregion.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWidget>

namespace orvello {

namespace {

// A rectangle given in twips as left, top, width, height, on the pixel grid: each edge is rounded
// to the nearest pixel, so that pieces that meet in twips meet in pixels.
QRect pixelRect(int left, int top, int width, int height)
{
    const int l = twipsToPixels(left);
    const int t = twipsToPixels(top);
    return QRect(l, t, twipsToPixels(left + width) - l, twipsToPixels(top + height) - t);
}

QImage designPicture(const ControlDesign& item, const char* key)
{
    return artwork::picture(item.extra.value(QLatin1String(key)).toString());
}

}  // namespace

QWidget* createImageControl(const ControlDesign& item, QWidget* parent)
{
    if (item.extra.contains(QLatin1String("hoverPicture")))
        return new CaptionButton(designPicture(item, "hoverPicture"),
                                 designPicture(item, "pressedPicture"), parent);
    // The title strip: a transparent surface without a picture.
    auto* strip = new PictureBox(parent);
    strip->setAutoFillBackground(false);
    return strip;
}

WindowFrame::WindowFrame(QWidget& window, AppSettings& settings, std::function<void()> closeCommand)
    : QObject(&window),
      window_(window),
      settings_(settings),
      closeCommand_(std::move(closeCommand)),
      skin_(artwork::skin()),
      icon_(artwork::programIcon())
{
    setObjectName(QStringLiteral("WindowFrame"));
    window_.setWindowFlags(window_.windowFlags() | Qt::Window | Qt::FramelessWindowHint);
    window_.setMouseTracking(true);
    window_.installEventFilter(this);
    for (const char* name : {"IMBar", "Label1", "Label2", "Picture1"})
        if (QWidget* surface = control(name)) surface->installEventFilter(this);
    if (QWidget* bar = control("IMBar")) bar->setMouseTracking(true);
    // The buttons lie above the title strip, which reaches under them.
    if (auto* minimise = qobject_cast<CaptionButton*>(control("Immin"))) {
        minimise->raise();
        connect(minimise, &CaptionButton::clicked, this, &WindowFrame::minimiseCommand);
    }
    if (auto* close = qobject_cast<CaptionButton*>(control("Imclose"))) {
        close->raise();
        connect(close, &CaptionButton::clicked, this, [this] {
            if (closeCommand_) closeCommand_();
        });
    }
}

QWidget* WindowFrame::control(const char* name) const
{
    return window_.findChild<QWidget*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
}

// Runs on every resize notification: when the window is first shown and on every change of size
// or of minimised state. No step depends on an earlier one having worked.
void WindowFrame::resizeProcedure()
{
    procedureRan_ = true;
    const int w = window_.width() * kTwipsPerPixel;
    const int h = window_.height() * kTwipsPerPixel;
    placeFrameControls(w, h);
    // A minimised window shows nothing: its painting waits for the restore.
    if (!window_.isMinimized()) paintFrame(w, h);
    // Only a changed outline goes to the window system.
    const QRegion outline = frameRegion(w, h);
    if (window_.mask() != outline) window_.setMask(outline);
    moveToSavedPosition(w, h);
}

void WindowFrame::placeFrameControls(int w, int h)
{
    if (QWidget* notice = control("LbBR")) {
        const int top = h - notice->height() * kTwipsPerPixel - 75;
        const int left = w - notice->width() * kTwipsPerPixel - 120;
        notice->move(twipsToPixels(left), twipsToPixels(top));
        QPalette pal = notice->palette();
        pal.setColor(QPalette::WindowText, Qt::white);
        notice->setPalette(pal);
    }
    if (QWidget* bar = control("IMBar")) bar->resize(twipsToPixels(w - 675), bar->height());
    if (QWidget* minimise = control("Immin"))
        minimise->move(twipsToPixels(w - 630), twipsToPixels(75));
    if (QWidget* close = control("Imclose")) close->move(twipsToPixels(w - 315), twipsToPixels(75));
}

void WindowFrame::paintFrame(int w, int h)
{
    // On a scaled screen the frame is painted at device pixels, from the skin drawn at twice the
    // pixels; each piece is stretched by the nearest pixel, so edges stay sharp.
    const qreal scale = window_.devicePixelRatioF();
    if (scale != 1 && skin2x_.isNull()) skin2x_ = artwork::skin2x();
    const QImage& skin = scale != 1 && !skin2x_.isNull() ? skin2x_ : skin_;
    const int skinScale = skin_.isNull() ? 1 : std::max(1, skin.width() / skin_.width());
    QImage painting(window_.size() * scale, QImage::Format_RGB32);
    painting.setDevicePixelRatio(scale);
    painting.fill(window_.palette().color(QPalette::Window));
    QPainter p(&painting);
    if (!skin_.isNull()) {
        const int sw = skin_.width() * kTwipsPerPixel;
        const int sh = skin_.height() * kTwipsPerPixel;
        // Destination and source rectangles in twips; later pieces paint over earlier ones.
        const struct {
            QRect to, from;
        } pieces[] = {
            {{420, 0, w, 600}, {420, 0, 120, 600}},                 // title band
            {{420, h - 600, w, 600}, {420, sh - 600, 120, 600}},    // bottom band
            {{0, 0, 200, h}, {0, 880, 200, 40}},                    // left edge
            {{w - 200, 0, 200, h}, {sw - 200, 880, 200, 40}},       // right edge
            {{0, 0, 450, 600}, {0, 0, 450, 600}},                   // top-left corner
            {{0, h - 600, 450, 600}, {0, sh - 600, 450, 600}},      // bottom-left corner
            {{w - 1665, 0, 1665, 435}, {sw - 1665, 0, 1665, 435}},  // top-right corner
            {{w - 1665, h - 525, 1665, 525}, {sw - 1665, sh - 525, 1665, 525}},  // bottom-right
        };
        for (const auto& piece : pieces) {
            const QRect& t = piece.to;
            const QRect& f = piece.from;
            const QRect from = pixelRect(f.x(), f.y(), f.width(), f.height());
            p.drawImage(pixelRect(t.x(), t.y(), t.width(), t.height()), skin,
                        QRect(from.topLeft() * skinScale, from.size() * skinScale));
        }
    }
    if (!icon_.isNull()) {
        // The icon drawn at 32 pixels for a scaled screen, rather than the 16-pixel one enlarged.
        const QImage icon = scale != 1 ? artwork::programIcon(32) : icon_;
        p.setRenderHint(QPainter::SmoothPixmapTransform, scale != 1);
        p.drawImage(pixelRect(100, 80, 240, 240), icon, icon.rect());
    }
    p.setPen(Qt::white);
    p.setFont(window_.font());
    const QPoint at(twipsToPixels(420), twipsToPixels(100));
    p.drawText(QRect(at, QSize(window_.width() - at.x(), p.fontMetrics().height())),
               Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, window_.windowTitle());
    p.end();
    painting_ = std::move(painting);
    window_.update();
}

void WindowFrame::moveToSavedPosition(int w, int h)
{
    // The screen the saved position lies on; one that is gone gives way to the window's own.
    const QPoint saved(settings_.frmMainX, settings_.frmMainY);
    const QPoint centre(twipsToPixels(saved.x() + w / 2), twipsToPixels(saved.y() + h / 2));
    QScreen* screen = QGuiApplication::screenAt(centre);
    if (!screen) screen = window_.screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect a = screen->availableGeometry();
        const QRect area(a.x() * kTwipsPerPixel, a.y() * kTwipsPerPixel, a.width() * kTwipsPerPixel,
                         a.height() * kTwipsPerPixel);
        const QPoint clamped = clampSavedPosition(saved, QSize(w, h), area);
        settings_.frmMainX = clamped.x();
        settings_.frmMainY = clamped.y();
    }
    // A minimised window cannot be placed; the restore places it.
    if (window_.isMinimized()) return;
    window_.move(twipsToPixels(settings_.frmMainX), window_.y());
    window_.move(window_.x(), twipsToPixels(settings_.frmMainY));
}

void WindowFrame::startMove(Qt::MouseButton button, QPointF pressAt)
{
    mover_->startMove(window_, button, pressAt);
}

void WindowFrame::clearHover()
{
    for (const char* name : {"Immin", "Imclose"})
        if (auto* button = qobject_cast<CaptionButton*>(control(name))) button->leave();
}

void WindowFrame::minimiseCommand()
{
    settings_.frmMainX = window_.x() * kTwipsPerPixel;
    settings_.frmMainY = window_.y() * kTwipsPerPixel;
    window_.showMinimized();
}

bool WindowFrame::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == &window_) {
        switch (type) {
        case QEvent::Show:
            if (procedureRan_) break;
            [[fallthrough]];
        case QEvent::Resize:
        case QEvent::WindowStateChange: resizeProcedure(); break;
        case QEvent::Paint:
            if (!painting_.isNull()) {
                const QRect r = static_cast<QPaintEvent*>(event)->rect();
                const qreal d = painting_.devicePixelRatio();
                QPainter(&window_).drawImage(
                    QRectF(r), painting_,
                    QRectF(r.x() * d, r.y() * d, r.width() * d, r.height() * d));
            }
            break;
        default: break;
        }
    }
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove) return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QString name = watched->objectName();
    // The window itself counts only where no control lies over it.
    const bool background = watched == &window_ && !window_.childAt(mouse->position().toPoint());
    const bool strip = name == QLatin1String("IMBar");
    if (type == QEvent::MouseMove) {
        if (background || strip) clearHover();
        return false;
    }
    const bool leftOnly = background || strip || name == QLatin1String("Label2");
    const bool anyButton = name == QLatin1String("Label1") || name == QLatin1String("Picture1");
    if ((leftOnly && mouse->button() == Qt::LeftButton) || anyButton)
        startMove(mouse->button(), mouse->globalPosition());
    return false;
}

}  // namespace orvello
