// frmMain's overlay: the redraw pair, the switches and title, the editing commands and the font
// picker.
#include "ui/frmmain.h"

#include "overlay/fontpicker.h"
#include "overlay/overlay.h"
#include "overlay/overlaycommands.h"
#include "ui/picturebox.h"
#include "xpbutton/xpbutton.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QToolTip>

namespace orvello {

namespace {
// The caption font style bits of an XPButton.
constexpr int kFontStyleBold = 2;
constexpr int kFontStyleItalic = 4;
}  // namespace

OverlayInput frmMain::overlayInput() const
{
    const QString title = control<QLineEdit>(QStringLiteral("Text1"))->text();
    return makeOverlayInput(settings_, doc_.captureDateText, title, doc_.isPortrait);
}

// DrawOverlay then ShowPreview, redrawing only what the change touched where that gives the same
// pixels.
void frmMain::redraw()
{
    overlayRedraw_.redraw(canvas_, preview_, doc_.photo, overlayInput());
    syncCanvasBox();
    control<PictureBox>(QStringLiteral("Picture1"))->setImage(preview_);
}

void frmMain::DrawOverlay()
{
    overlayRedraw_.drawOverlay(canvas_, doc_.photo, overlayInput());
    syncCanvasBox();
}

void frmMain::ShowPreview()
{
    overlayRedraw_.showPreview(preview_, canvas_, doc_.isPortrait);
    control<PictureBox>(QStringLiteral("Picture1"))->setImage(preview_);
}

void frmMain::showPhotoOnCanvas()
{
    if (photoShownDrawsOverlay(settings_)) {
        DrawOverlay();
    } else {
        overlayRedraw_.clearCanvas(canvas_, doc_.photo);
        syncCanvasBox();
    }
    ShowPreview();
}

// The canvas box is never seen; it only follows the canvas's size.
void frmMain::syncCanvasBox()
{
    control(QStringLiteral("Picture0"))->resize(canvas_.size());
}

void frmMain::wireOverlay()
{
    for (int n : {5, 6, 7, 8, 9, 10, 11, 12, 15, 16, 17, 18})
        commands_.insert(QStringLiteral("XPButton%1").arg(n), [this, n] { overlayButton(n); });
    commands_.insert(QStringLiteral("XPButton19"), [this] {
        if (runTextColorCommand(settings_, host_, photoLoaded())) redraw();
    });
    commands_.insert(QStringLiteral("XPButton13"), [this] { fontButton(PickerTarget::Title); });
    commands_.insert(QStringLiteral("XPButton14"), [this] { fontButton(PickerTarget::Date); });

    auto* c1 = control<QCheckBox>(QStringLiteral("Check1"));
    connect(c1, &QCheckBox::toggled, this, [this](bool on) {
        if (dateSwitchClicked(settings_, on, photoLoaded())) redraw();
    });
    auto* c2 = control<QCheckBox>(QStringLiteral("Check2"));
    connect(c2, &QCheckBox::toggled, this, [this](bool on) {
        if (titleSwitchClicked(settings_, on, photoLoaded())) redraw();
    });
    auto* title = control<QLineEdit>(QStringLiteral("Text1"));
    connect(title, &QLineEdit::textChanged, this, [this] {
        if (titleEditRedraws(settings_)) redraw();
    });
    // A title past the cap is cut there (a paste of a whole document would take the window
    // seconds per keystroke); the user is told beside the box rather than by a modal message.
    title->setMaxLength(kMaxTitleLength);
    connect(title, &QLineEdit::inputRejected, this, [title] {
        if (title->text().size() < kMaxTitleLength) return;  // rejected for another reason
        QToolTip::showText(title->mapToGlobal(QPoint(0, title->height())),
                           QStringLiteral("标题最多 %1 个字符，多出的未收入").arg(kMaxTitleLength),
                           title);
    });

    const auto topTwips = [this](const char* name) {
        return control(QString::fromLatin1(name))->y() * kTwipsPerPixel;
    };
    auto* list = control<QListWidget>(QStringLiteral("List2"));
    picker_ = std::make_unique<FontPicker>(topTwips("XPButton13"), topTwips("XPButton14"),
                                           list->y() * kTwipsPerPixel);
    connect(list, &QListWidget::itemClicked, this,
            [this, list](QListWidgetItem* item) { picker_->selectRow(list->row(item)); });
    connect(list, &QListWidget::itemDoubleClicked, this, [this, list](QListWidgetItem* item) {
        picker_->selectRow(list->row(item));
        const bool chosen = picker_->entryDoubleClicked(settings_, photoLoaded());
        syncFontList(false);
        if (chosen) redraw();
    });
}

void frmMain::overlayButton(int number)
{
    const auto command = overlayCommandForButton(number);
    if (!command || !runOverlayCommand(*command, settings_, photoLoaded())) return;
    // The style buttons show their own state in their caption font.
    if (*command == OverlayCommand::ToggleBold || *command == OverlayCommand::ToggleItalic) {
        auto* button = control<XPButton>(QStringLiteral("XPButton%1").arg(number));
        const bool bold = *command == OverlayCommand::ToggleBold;
        const int bit = bold ? kFontStyleBold : kFontStyleItalic;
        const bool on = bold ? settings_.addFontBold : settings_.addFontItalic;
        button->setFontStyle(on ? button->fontStyle() | bit : button->fontStyle() & ~bit);
    }
    redraw();
}

void frmMain::fontButton(PickerTarget target)
{
    const bool wasVisible = picker_->isVisible();
    picker_->fontButtonClicked(target, settings_, photoLoaded());
    syncFontList(!wasVisible && picker_->isVisible());
}

void frmMain::syncFontList(bool opening)
{
    auto* list = control<QListWidget>(QStringLiteral("List2"));
    if (!picker_->isVisible()) {
        list->hide();
        return;
    }
    {
        const QSignalBlocker quiet(list);
        list->clear();
        list->addItems(picker_->entries());
        list->setCurrentRow(picker_->selectedRow());
    }
    list->move(twipsToPixels(picker_->left()), twipsToPixels(picker_->top()));
    if (opening)
        QCoreApplication::processEvents();  // let the button finish drawing before the list shows
    list->show();
    list->raise();
    if (list->currentItem()) list->scrollToItem(list->currentItem());
}

}  // namespace orvello
