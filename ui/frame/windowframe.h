#pragma once
// The skinned frame of the main window: no system caption or border, the frame painted from the
// skin by the resize procedure, the rounded outline, the drag surfaces and the minimise and close
// images. It works on the window's controls by name (IMBar, Immin, Imclose, LbBR, Label1, Label2,
// Picture1), so the window only has to create it.
#include "ui/frame/windowmover.h"

#include <QImage>
#include <QObject>
#include <functional>

class QWidget;

namespace orvello {

struct AppSettings;
struct ControlDesign;
class CaptionButton;

// An image control of the design ("image" kind): the title strip, or a caption button when the
// design names its hover and pressed pictures.
QWidget* createImageControl(const ControlDesign& item, QWidget* parent);

class WindowFrame : public QObject {
    Q_OBJECT
public:
    // Makes window borderless and takes over its frame. The saved window position lives in
    // settings (frmMainX, frmMainY); closeCommand is what the close image runs.
    WindowFrame(QWidget& window, AppSettings& settings, std::function<void()> closeCommand);

    // Tests record the drag requests here instead of moving the window; nullptr restores the
    // system mover.
    void setMover(WindowMover* mover) { mover_ = mover ? mover : &systemMover_; }

    // What the window shows under its controls: the frame painted by the last resize procedure.
    const QImage& painting() const { return painting_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* control(const char* name) const;
    void resizeProcedure();
    void placeFrameControls(int widthTwips, int heightTwips);
    void paintFrame(int widthTwips, int heightTwips);
    void moveToSavedPosition(int widthTwips, int heightTwips);
    void startMove(Qt::MouseButton button, QPointF pressAt);
    void clearHover();
    void minimiseCommand();

    QWidget& window_;
    AppSettings& settings_;
    std::function<void()> closeCommand_;
    SystemWindowMover systemMover_;
    WindowMover* mover_ = &systemMover_;
    QImage skin_;
    QImage skin2x_;  // loaded on the first paint on a scaled screen
    QImage icon_;
    QImage painting_;
    bool procedureRan_ = false;
};

}  // namespace orvello
