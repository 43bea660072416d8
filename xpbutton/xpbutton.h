#pragma once
// XPButton: the program's own owner-drawn push, check and option button.
// Its properties, their persistence in a property store, the option groups of a container, the
// access key, and the pipeline that composes the button in an off-screen buffer with the raster
// layer and copies it onto the control's surface. Each routine lives in the file of its role:
// properties.cpp, persistence.cpp, optiongroup.cpp, pipeline/, caption/, painters/, input/ (see
// README.md); raster/ is the drawing layer underneath.
#include "xpbutton/propertystore.h"
#include "xpbutton/raster/bufferdc.h"
#include "xpbutton/raster/devicelayer.h"
#include "xpbutton/raster/region.h"
#include "xpbutton/xbcolor.h"
#include "xpbutton/xbhost.h"
#include "xpbutton/xbpicture.h"

#include <QFont>
#include <QImage>
#include <QPointer>
#include <QRect>
#include <QRegion>
#include <QWidget>
#include <array>
#include <optional>

class QShortcut;
class QMimeData;
class QDragMoveEvent;

namespace orvello {

class XPButton : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int ButtonStyle READ buttonStyle WRITE setButtonStyle)
    Q_PROPERTY(int Mode READ mode WRITE setMode)
    Q_PROPERTY(bool Value READ value WRITE setValue)
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(int CaptionAlign READ captionAlign WRITE setCaptionAlign)
    Q_PROPERTY(int CaptionStyle READ captionStyle WRITE setCaptionStyle)
    Q_PROPERTY(int ButtonShape READ buttonShape WRITE setButtonShape)
    Q_PROPERTY(orvello::XbPicture Picture READ picture WRITE setPicture)
    Q_PROPERTY(int PictureAlign READ pictureAlign WRITE setPictureAlign)
    Q_PROPERTY(bool Enabled READ enabledState WRITE setEnabled)
    Q_PROPERTY(bool ShowFocusRect READ showFocusRect WRITE setShowFocusRect)
    Q_PROPERTY(int PictureSize READ pictureSize WRITE setPictureSize)
    Q_PROPERTY(int MousePointer READ mousePointer WRITE setMousePointer)
    Q_PROPERTY(orvello::XbPicture MouseIcon READ mouseIcon WRITE setMouseIcon)
    Q_PROPERTY(QFont Font READ font WRITE setFont)
    Q_PROPERTY(int FontStyle READ fontStyle WRITE setFontStyle)
    Q_PROPERTY(quint32 ForeColor READ foreColor WRITE setForeColor)
    Q_PROPERTY(quint32 BackColor READ backColor WRITE setBackColor)
    Q_PROPERTY(quint32 GradientColor READ gradientColor WRITE setGradientColor)
    Q_PROPERTY(int GradientMode READ gradientMode WRITE setGradientMode)
    Q_PROPERTY(bool ResetDefaultColors READ resetDefaultColors WRITE setResetDefaultColors)
    Q_PROPERTY(int HoverColorLocks READ hoverColorLocks WRITE setHoverColorLocks)
    Q_PROPERTY(quint32 HoverForeColor READ hoverForeColor WRITE setHoverForeColor)
    Q_PROPERTY(quint32 HoverBackColor READ hoverBackColor WRITE setHoverBackColor)
    Q_PROPERTY(qulonglong hDC READ hDC)
    Q_PROPERTY(qulonglong hWnd READ hWnd)

public:
    // Without a host the button lives in the running program's UserModeHost.
    explicit XPButton(QWidget* parent = nullptr, XPButtonHost* host = nullptr);
    ~XPButton() override;

    XPButtonHost& host() const { return *host_; }
    void setHost(XPButtonHost* host);

    // --- Properties, in the order of the control's interface ----------------------------------
    int buttonStyle() const { return buttonStyle_; }
    void setButtonStyle(int style);
    int mode() const { return mode_; }
    void setMode(int mode);
    bool value() const { return value_; }
    void setValue(bool value);
    QString caption() const { return caption_; }
    void setCaption(const QString& caption);
    int captionAlign() const { return captionAlign_; }
    void setCaptionAlign(int align);
    int captionStyle() const { return captionStyle_; }
    void setCaptionStyle(int style);
    int buttonShape() const { return buttonShape_; }
    void setButtonShape(int shape);
    XbPicture picture() const { return picture_; }
    void setPicture(const XbPicture& picture);
    int pictureAlign() const { return pictureAlign_; }
    void setPictureAlign(int align);
    // The surface's own enabled state (as QWidget::setEnabled sets it, not the parents').
    bool enabledState() const { return !testAttribute(Qt::WA_ForceDisabled); }
    void setEnabled(bool enabled);  // hides QWidget::setEnabled, which also works (no mark)
    bool showFocusRect() const { return showFocusRect_; }
    void setShowFocusRect(bool show);
    int pictureSize() const;  // 0..4; a stored size of 0 becomes 16 first
    void setPictureSize(int size);
    int mousePointer() const { return mousePointer_; }
    // 0..15 or 99 (custom); the surface rejects any other value: false, nothing changes.
    bool setMousePointer(int pointer);
    XbPicture mouseIcon() const { return mouseIcon_; }
    void setMouseIcon(const XbPicture& icon);
    void setFont(const QFont& font);  // hides QWidget::setFont, which also works (no mark)
    int fontStyle() const;
    void setFontStyle(int style);
    OleColor foreColor() const { return foreColor_; }
    void setForeColor(OleColor color);
    OleColor backColor() const { return backColor_; }
    void setBackColor(OleColor color);
    OleColor gradientColor() const { return gradientColor_; }
    void setGradientColor(OleColor color);
    int gradientMode() const { return gradientMode_; }
    void setGradientMode(int mode);
    bool resetDefaultColors() const { return false; }
    void setResetDefaultColors(bool reset);
    int hoverColorLocks() const { return hoverColorLocks_; }
    void setHoverColorLocks(int locks);
    OleColor hoverForeColor() const { return hoverForeColor_; }
    void setHoverForeColor(OleColor color);
    OleColor hoverBackColor() const { return hoverBackColor_; }
    void setHoverBackColor(OleColor color);
    // Identities of the surface's paint device and window.
    qulonglong hDC() const
    {
        return qulonglong(reinterpret_cast<quintptr>(static_cast<const QPaintDevice*>(this)));
    }
    qulonglong hWnd() const { return qulonglong(reinterpret_cast<quintptr>(this)); }
    // Redraws now, unless drawing is delayed.
    void Refresh();
    void DelayDrawing(bool delay);

    // --- Persistence ---------------------------------------------------------------------
    void initProperties();
    // Errors of the store (PropertyStoreError) propagate to the caller.
    void readProperties(const PropertyStore& store);
    void writeProperties(PropertyStore& store) const;
    // The resize and terminate handlers; the widget runs them on its resize and destruction.
    void handleResize();
    void handleTerminate();

    // --- Option groups ---------------------------------------------------------------------
    enum GroupAction { GroupClearOthers = 0, GroupJoin = 1, GroupLeave = -1, GroupQuery = 2 };
    bool OptionGroupUpdate(int action);

    // --- Container notifications -------------------------------------------------------------
    void setDisplayAsDefault(bool displayAsDefault);

    // --- State seen by the drawing and by tests -------------------------------------------
    QString containerKey() const { return containerKey_; }  // the control's tag
    QString accessKeys() const { return accessKeys_; }
    quint8 stateFlags() const { return stateFlags_; }
    bool defaultButtonLook() const { return stateFlags_ & 1; }
    bool drawingDelayed() const { return drawingDelayed_; }
    int storedPictureSize() const { return pictureSize_; }
    OleColor ambientBackColor() const { return ambientBackColor_; }
    OleColor faceColor() const { return faceColor_; }
    OleColor pressedFaceColor() const { return pressedFaceColor_; }
    OleColor hoverFaceColor() const { return hoverFaceColor_; }
    OleColor checkedFaceColor() const { return checkedFaceColor_; }
    int pictureWidth() const { return pictureWidth_; }
    int pictureHeight() const { return pictureHeight_; }
    int textLeft() const { return textLeft_; }
    int textRight() const { return textRight_; }
    QRect captionRect() const { return captionRect_; }
    QRect pictureRect() const { return pictureRect_; }
    // Where the caption and the picture are drawn: their rectangles moved, where the layout put
    // them past the face or against each other, onto the face inside the rings and apart.
    QRect drawnCaptionRect() const { return captionRect_.translated(captionShift_); }
    QRect drawnPictureRect() const { return pictureRect_.translated(pictureShift_); }
    // The face inside the rings of a rectangular button.
    QRect faceInterior() const;
    bool hasBufferDC() const { return bufferDC_.has_value(); }
    bool hasSavedBitmap() const { return savedBitmap_; }
    QSize bufferSize() const { return bufferDC_ ? bufferDC_->bitmap().size() : QSize(); }
    bool hasClipRegion() const { return clipRegion_.has_value(); }
    int redrawCount() const { return redrawCount_; }  // redraws that composed the face
    // The last composed buffer, and what the surface shows (the last copy out of it).
    QImage buffer() const { return bufferDC_ ? bufferDC_->bitmap() : QImage(); }
    QImage surface() const { return surface_; }
    // The window region of the outline, and the clip of the round shapes.
    const raster::Region& shapeRegion() const { return windowRegion_; }
    std::optional<raster::Region> clipRegion() const { return clipRegion_; }
    QFont captionFont() const { return captionFont_; }
    bool isHot() const { return isHot_; }
    // Puts the button in a visual state as the input handlers would (the pressed bit 2, the hot
    // bit 4 with hover tracking, a press in progress) and redraws: for previews of its looks.
    void showState(quint8 flags, bool pressActive = false);

    // --- Drawing routines -------------------------------------------------------------------
    enum class Resource { Font, Picture, BackColor };
    void UpdateResource(Resource what);
    // Returns the usable width; leftOffset receives the left offset. With recalc set, also
    // computes `CaptionRect` and `PictureRect` (left, top, exclusive right and bottom).
    int LayoutContent(bool recalc = true, int* leftOffset = nullptr);
    void BuildShapeRegion();

    // Colour entries 1..12 of the border rings (inner, middle, outer ring; left, top, right,
    // bottom each); a negative entry is not drawn. Entry 0 is unused.
    using BorderColors = std::array<qint64, 13>;
    using RingPoints = std::array<QPoint, 15>;
    // The 15 points the border rings and the focus mark are drawn on. `ButtonState`, which a
    // painter hands on, is 0 normal, 1 focused, 2 pressed, 3 hot.
    RingPoints ringPoints() const;
    void PaintFace(OleColor face, int& buttonState, qint64 gradient, qint64 hoverFace);
    void FillGradient(OleColor from, OleColor to, int mode);
    void DrawBorderRings(const RingPoints& points, const BorderColors& colors, int buttonState,
                         int outerPenStyle);
    void DrawFocusIndicator(OleColor color, bool solid, bool aroundCaption,
                            const RingPoints& points);
    // p is the caption colour for the disabled state (negative: embossed white and grey).
    void DrawCaptionAndPicture(OleColor shadingBase, qint64 p, bool pressedOffset, bool singlePass);
    void DrawRectangle(int x1, int y1, int x2, int y2, OleColor fill, qint64 border,
                       int penWidth = 1, int penStyle = raster::PS_SOLID);
    enum DrawingKind { BrushColor = 0, PenColor = 1, TextColor = 2 };
    void SetDrawingColor(DrawingKind kind, OleColor color, bool alsoPen = false, int penWidth = 1,
                         int penStyle = raster::PS_SOLID);
    void RestoreInitialPenAndBrush();

    // --- Input ----------------------------------------------------------------------------
    // The hover timer's check: the button stays hot while the pointer is over it, else it
    // stops the timer, clears the hot state and raises MouseOnButton(false).
    void HoverCheck(int timerId);
    // An access key, or Enter (13) and Escape (27) on the default and cancel buttons.
    void AccessKeyPress(int keyAscii);
    // The container's back colour changed.
    void AmbientBackColorChanged();
    int lastMouseButton() const { return lastMouseButton_; }
    bool pressActive() const { return pressActive_; }
    // Starts a drag of the control's data; returns the drop effect.
    int OLEDrag();

signals:
    // Mouse buttons: 1 left, 2 right, 4 middle; shift: 1 shift, 2 control, 4 alt; x and y in
    // pixels. Arguments passed by reference may be changed by the receiver.
    void MouseDown(int button, int shift, float x, float y);
    void MouseUp(int button, int shift, float x, float y);
    void MouseMove(int button, int shift, float x, float y);
    void KeyDown(int& keyCode, int shift);
    void KeyPress(int& keyAscii);
    void KeyUp(int& keyCode, int shift);
    void MouseOnButton(bool& onButton);
    // A completed click; the window reacts to this event only.
    void Click();
    void DblClick(int& lastMouseButton);
    // Drag and drop, passed through from Qt's; effects 0 none, 1 copy, 2 move.
    void OLECompleteDrag(int& effect);
    void OLEDragDrop(const QMimeData* data, int& effect, int button, int shift, float x, float y);
    void OLEDragOver(const QMimeData* data, int& effect, int button, int shift, float x, float y,
                     int state);
    void OLEGiveFeedback(int& effect, bool& defaultCursors);
    void OLESetData(QMimeData* data, int& dataFormat);
    void OLEStartDrag(QMimeData* data, int& allowedEffects);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void mark(const char* key);
    bool designMode() const;
    void message(const QString& text, const QString& title = {});
    void setAccessKeys(const QString& keys);
    void clickHandling();
    void mouseDownHandling(int button, int shift, float x, float y);
    void stopHoverTracking();
    void dragOver(QDragMoveEvent* event, int state);
    void applyCursor();
    void prepareBuffer();
    void releaseBufferBitmap();
    void teardownBuffer();
    void RedrawButton();
    void paintLook(const RingPoints& points, BorderColors& colors);
    void paintStyle2(const RingPoints& points, BorderColors& colors);
    void paintClassic();
    void paintStyle3();
    void paintStyle7();
    void drawPicture(const QRect& target, bool moved, int usableWidth, int leftOffset);
    void drawCaptionText(const QString& text, QRect rect, unsigned format, OleColor color);
    void updateCaptionFont();
    void measurePicture();
    void deriveFaceColors();
    void fitContentOnFace();
    bool pressedAndHot() const { return (stateFlags_ & 6) == 6; }
    void enabledChangedSteps();
    void setContainerFromHost();
    QObject* container();
    void removeFromGroup();

    XPButtonHost* host_;

    // Stored properties.
    QString caption_;
    int captionAlign_ = 0;
    int captionStyle_ = 0;
    int buttonStyle_ = 0;
    quint8 stateFlags_ = 0;
    int buttonShape_ = 0;
    bool showFocusRect_ = false;
    OleColor hoverBackColor_ = 0;
    OleColor hoverForeColor_ = 0;
    int hoverColorLocks_ = 0;
    int gradientMode_ = 0;
    OleColor gradientColor_ = 0;
    int mode_ = 0;
    bool value_ = false;
    XbPicture picture_;
    int pictureAlign_ = 0;
    mutable qint16 pictureSize_ = 0;
    bool drawingDelayed_ = false;
    OleColor backColor_ = 0;
    OleColor ambientBackColor_ = 0;
    QString containerKey_;
    QPointer<QObject> container_;

    // Surface values that QWidget does not hold in the control's terms.
    OleColor foreColor_ = kButtonText;
    int mousePointer_ = 0;
    XbPicture mouseIcon_;
    QString accessKeys_;
    QShortcut* accessShortcut_ = nullptr;
    bool inSetter_ = false;  // a setter of ours is changing the surface's font or enabled state

    // Derived drawing state: face colours, layout, picture, caption font, buffer and regions.
    OleColor faceColor_ = 0;
    OleColor pressedFaceColor_ = 0;
    OleColor hoverFaceColor_ = 0;
    OleColor checkedFaceColor_ = 0;
    int textLeft_ = 0;
    int textRight_ = 0;
    QRect captionRect_;
    QRect pictureRect_;
    QPoint captionShift_;
    QPoint pictureShift_;
    bool pressedShiftFits_ = true;  // the pressed look's offset keeps both on the face
    bool captionWhole_ = false;     // the caption is drawn whole, past its rectangle
    int pictureWidth_ = 0;
    int pictureHeight_ = 0;
    int pictureKind_ = 0;
    QFont captionFont_;
    std::optional<raster::BufferDC> bufferDC_;  // with its initial pen and brush once created
    bool savedBitmap_ = false;                  // a buffer bitmap of the current size is selected
    bool savedFont_ = false;                    // a caption font has been selected into BufferDC
    QImage surface_;        // the control's own surface: the last copy out of the buffer
    QImage deviceSurface_;  // surface_ at device pixels on a scaled screen, made when painted
    QList<raster::DeviceItem> surfaceItems_;  // its text and icons on a scaled screen
    qreal surfaceScale_ = 1;                  // the scale surface_ was composed for
    raster::Region windowRegion_;
    std::optional<raster::Region> clipRegion_;
    bool isHot_ = false;
    bool pressActive_ = false;
    quint64 spaceReleasedAt_ = 0;  // time stamp of the last release of the space bar
    int lastMouseButton_ = 0;
    int redrawCount_ = 0;
    bool inPaint_ = false;
    bool redrawPending_ = false;  // a redraw was held back while drawing was delayed
};

}  // namespace orvello
