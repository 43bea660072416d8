// frmMain's overlay: the redraw pair, the switches and title, the editing commands and the font
// picker.
#include "ui/frmmain.h"

#include "overlay/stampstyle.h"

#include "overlay/fontpicker.h"
#include "overlay/overlay.h"
#include "overlay/overlaycommands.h"
#include "ui/picturebox.h"
#include "xpbutton/xpbutton.h"

#include "app/messages.h"
#include "photo/photostamp.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
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
    return stampOverlayInput(doc_.stamp, settings_, title, doc_.isPortrait);
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
                           QCoreApplication::translate("ui", "标题最多 %1 个字符，多出的未收入")
                               .arg(kMaxTitleLength),
                           title);
    });

    const auto topTwips = [this](const char* name) {
        return control(QString::fromLatin1(name))->y() * kTwipsPerPixel;
    };
    wireStampMenu();
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

namespace orvello {

void frmMain::showListing()
{
    QString text = listingText_;
    const StampTexts texts = stampTexts(doc_.stamp, settings_, QString());
    if (texts.source && *texts.source != DateSource::ExifOriginal)
        text += QCoreApplication::translate("ui", "\n拍摄日期：%1\n%2")
                    .arg(texts.date, dateSourceLabel(*texts.source));
    control<QPlainTextEdit>(QStringLiteral("Text0"))->setPlainText(text);
}

void frmMain::stampTextsChanged()
{
    if (!photoLoaded()) return;
    showListing();
    redraw();
}

QActionGroup* frmMain::addStyleMenu(QMenu* menu, const QString& title,
                                    StampStyle AppSettings::*field)
{
    static const std::pair<StampStyle, const char*> kStyles[] = {
        {StampStyle::Plain, QT_TRANSLATE_NOOP("ui", "普通")},
        {StampStyle::Outline, QT_TRANSLATE_NOOP("ui", "描边")},
        {StampStyle::Shadow, QT_TRANSLATE_NOOP("ui", "阴影")},
        {StampStyle::Plate, QT_TRANSLATE_NOOP("ui", "衬底")}};
    QMenu* styles = menu->addMenu(title);
    auto* group = new QActionGroup(styles);
    for (const auto& [style, name] : kStyles) {
        QAction* action = styles->addAction(QCoreApplication::translate("ui", name));
        action->setCheckable(true);
        action->setData(int(style));
        action->setObjectName(encodeStampStyle(style));
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, field, style = style] {
            settings_.*field = style;
            redraw();
        });
    }
    return group;
}

void frmMain::wireStampMenu()
{
    auto* preview = control<PictureBox>(QStringLiteral("Picture1"));
    auto* menu = new QMenu(preview);
    menu->setObjectName(QStringLiteral("Picture1Menu"));

    QMenu* formats = menu->addMenu(QCoreApplication::translate("ui", "日期格式"));
    formats->setObjectName(QStringLiteral("dateFormatMenu"));
    auto* group = new QActionGroup(formats);
    for (const DatePreset& preset : datePresets()) {
        QAction* action = formats->addAction(preset.name);
        action->setCheckable(true);
        action->setData(preset.pattern);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, pattern = preset.pattern] {
            settings_.dateFormat = pattern;
            stampTextsChanged();
        });
    }
    QAction* shift = menu->addAction(QCoreApplication::translate("ui", "时间偏移…"));
    shift->setObjectName(QStringLiteral("dateShiftAction"));
    connect(shift, &QAction::triggered, this, &frmMain::dateShiftCommand);
    QAction* fallback =
        menu->addAction(QCoreApplication::translate("ui", "无拍摄日期时用文件修改时间"));
    fallback->setObjectName(QStringLiteral("dateFallbackAction"));
    fallback->setCheckable(true);
    connect(fallback, &QAction::triggered, this, [this](bool on) {
        settings_.dateFallback = on ? DateFallback::File : DateFallback::None;
        stampTextsChanged();
    });
    QActionGroup* dateStyles =
        addStyleMenu(menu, QCoreApplication::translate("ui", "日期样式"), &AppSettings::dateStyle);
    QActionGroup* titleStyles =
        addStyleMenu(menu, QCoreApplication::translate("ui", "标题样式"), &AppSettings::titleStyle);
    QAction* filmColour = menu->addAction(QCoreApplication::translate("ui", "胶片相机的橙色"));
    filmColour->setObjectName(QStringLiteral("filmColourAction"));
    connect(filmColour, &QAction::triggered, this, [this] {
        settings_.addForeColor = kFilmDateBackColor;
        redraw();
    });
    // The entries show the settings as they are when the menu opens (a settings file, restored
    // defaults and the menu itself all change them).
    connect(menu, &QMenu::aboutToShow, this, [this, dateStyles, titleStyles] {
        for (QAction* action : dateStyles->actions())
            action->setChecked(action->data().toInt() == int(settings_.dateStyle));
        for (QAction* action : titleStyles->actions())
            action->setChecked(action->data().toInt() == int(settings_.titleStyle));
    });
    connect(menu, &QMenu::aboutToShow, this, [this, group, fallback, shift] {
        for (QAction* action : group->actions())
            action->setChecked(action->data().toString() == settings_.dateFormat);
        fallback->setChecked(settings_.dateFallback == DateFallback::File);
        shift->setText(
            settings_.dateShift.isEmpty()
                ? QCoreApplication::translate("ui", "时间偏移…")
                : QCoreApplication::translate("ui", "时间偏移（%1）…").arg(settings_.dateShift));
    });
    preview->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(preview, &QWidget::customContextMenuRequested, menu,
            [preview, menu](const QPoint& at) { menu->popup(preview->mapToGlobal(at)); });
}

void frmMain::dateShiftCommand()
{
    TextInputRequest request{
        QCoreApplication::translate("ui", "时间偏移"),
        QCoreApplication::translate("ui",
                                    "相机时钟不准时，拍摄时间要移动多少：[+|-][天 ]时:分[:秒]\n"
                                    "例如 +1:30 或 -1 2:00（减一天两小时）；留空为不移动。"),
        settings_.dateShift};
    // Asked again until the text is a shift or the dialog is cancelled: a typing slip should not
    // cost the user what they typed.
    while (const std::optional<QString> answer = host_.inputText(request)) {
        QString why;
        if (parseClockShift(*answer, &why) && decodeDateShift(*answer)) {
            settings_.dateShift = answer->trimmed();
            stampTextsChanged();
            return;
        }
        showNotice(host_,
                   why.isEmpty() ? QCoreApplication::translate(
                                       "ui", "“%1”不是时间偏移：写法为 [+|-][天 ]时:分[:秒]")
                                       .arg(answer->left(40))
                                 : why,
                   MsgIcon::Exclamation);
        request.text = *answer;
    }
}

}  // namespace orvello
