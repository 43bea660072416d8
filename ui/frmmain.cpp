#include "ui/frmmain.h"

#include "app/appinfo.h"
#include "app/messages.h"
#include "app/startup.h"
#include "components/jpegwriter.h"
#include "host/host.h"
#include "imaging/photodecoder.h"
#include "imaging/printlayout.h"
#include "imaging/rotation.h"
#include "overlay/overlay.h"
#include "photo/folderlist.h"
#include "ui/accessibility.h"
#include "ui/frame/windowframe.h"
#include "ui/label.h"
#include "ui/mcmndlg.h"
#include "ui/picturebox.h"
#include "ui/xpbuttondesign.h"
#include "xpbutton/xpbutton.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QScreen>
#include <algorithm>

namespace orvello {

namespace {

const char kDesignResource[] = ":/design/frmmain.json";

void setBackground(QWidget* w, quint32 colorValue)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, colorFromValue(colorValue));
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

}  // namespace

frmMain::frmMain(FrmMainEnvironment environment, QWidget* parent)
    : QWidget(parent),
      env_(std::move(environment)),
      host_(*env_.host),
      runtime_(env_.requiredImageFormats)
{
    setObjectName(QStringLiteral("frmMain"));
    buildFromDesign();
    // The frame runs the resize procedure, the drag surfaces and the caption images.
    new WindowFrame(*this, settings_, [this] { closeCommand(); });
    nameForScreenReaders(*this);
    clearCanvas(canvas_, doc_.photo);
    // At a scale factor above 1 the preview is made at device pixels from the canvas itself.
    control<PictureBox>(QStringLiteral("Picture1"))->setDeviceSource([this](QSize pixels) {
        return orvello::ShowPreview(canvas_, doc_.isPortrait, pixels);
    });
    wireCommands();
    syncCanvasBox();
    // The session ending or a termination request quits the application without closing the
    // window: the settings are written all the same.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &frmMain::unloadOnce);
}

frmMain::~frmMain() = default;

void frmMain::buildFromDesign()
{
    const FormDesign form = loadDesign(QString::fromLatin1(kDesignResource));
    setWindowTitle(form.caption);
    setBackground(this, form.backColor);
    setFont(designFont(form.fontName, form.fontPoints));  // every control's text in one face
    QVector<ControlDesign> ordered = form.controls;
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const ControlDesign& a, const ControlDesign& b) {
                         return unsigned(a.tabIndex) < unsigned(b.tabIndex);  // -1 sorts last
                     });
    QWidget* previous = nullptr;
    for (const ControlDesign& item : ordered) {
        QWidget* w = createControl(item);
        if (!w) continue;
        w->setObjectName(item.name);
        w->setGeometry(twipsToPixels(item.twips));
        if (!item.toolTip.isEmpty()) w->setToolTip(item.toolTip);
        controls_.insert(item.name, w);
        if (item.tabIndex < 0) {
            w->setFocusPolicy(Qt::NoFocus);
            continue;
        }
        if (w->focusPolicy() == Qt::NoFocus) w->setFocusPolicy(Qt::StrongFocus);
        if (previous) QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

QWidget* frmMain::createControl(const ControlDesign& item)
{
    const QJsonObject& x = item.extra;
    if (item.kind == QLatin1String("label")) {
        auto* label = new Label(item.caption, this);
        if (x.contains(QLatin1String("fontSize")))
            label->setFont(
                designFont(font().family(), x.value(QLatin1String("fontSize")).toDouble()));
        if (x.contains(QLatin1String("foreColor"))) {
            QPalette pal = label->palette();
            pal.setColor(QPalette::WindowText,
                         colorFromValue(quint32(x.value(QLatin1String("foreColor")).toInteger())));
            label->setPalette(pal);
        }
        return label;
    }
    if (item.kind == QLatin1String("image")) return createImageControl(item, this);
    if (item.kind == QLatin1String("list")) {
        auto* list = new QListWidget(this);
        list->setItemDelegate(new RowsWithDescenders(list));
        return list;
    }
    if (item.kind == QLatin1String("textbox")) {
        if (x.value(QLatin1String("multiLine")).toBool()) {
            auto* edit = new QPlainTextEdit(this);
            edit->setReadOnly(true);
            edit->setLineWrapMode(QPlainTextEdit::NoWrap);  // one item per line
            edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
            return edit;
        }
        return new QLineEdit(item.caption, this);
    }
    if (item.kind == QLatin1String("picture")) {
        auto* box = new PictureBox(this);
        if (x.contains(QLatin1String("backColor")))
            setBackground(box, quint32(x.value(QLatin1String("backColor")).toInteger()));
        box->setAutoSize(x.value(QLatin1String("autoSize")).toBool());
        return box;
    }
    if (item.kind == QLatin1String("checkbox")) {
        auto* box = new QCheckBox(item.caption, this);
        box->setChecked(x.value(QLatin1String("checked")).toBool());
        // A button fills its background with the button colour: the check box shows its own.
        box->setBackgroundRole(QPalette::Window);
        if (x.contains(QLatin1String("backColor")))
            setBackground(box, quint32(x.value(QLatin1String("backColor")).toInteger()));
        return box;
    }
    if (item.kind == QLatin1String("xpbutton")) return createXPButton(item, this);
    return nullptr;
}

void frmMain::wireCommands()
{
    commands_.insert(QStringLiteral("XPButton1"), [this] { openPhotoCommand(); });
    commands_.insert(QStringLiteral("XPButton2"), [this] { saveCommand(); });
    commands_.insert(QStringLiteral("XPButton3"),
                     [this] { rotateCommand(QStringLiteral("XPButton3"), Rotate90); });
    commands_.insert(QStringLiteral("XPButton4"),
                     [this] { rotateCommand(QStringLiteral("XPButton4"), Rotate90R); });
    commands_.insert(QStringLiteral("XPButton20"), [this] { restoreDefaults(); });
    commands_.insert(QStringLiteral("XPButton23"), [this] { printCommand(); });
    commands_.insert(QStringLiteral("XPButton21"), [this] { aboutCommand(); });
    commands_.insert(QStringLiteral("XPButton22"),
                     [this] { host_.openUrl(QUrl(appinfo::homePageAddress())); });
    // The window reacts to its command buttons' Click event only.
    for (auto it = controls_.cbegin(); it != controls_.cend(); ++it) {
        if (auto* button = qobject_cast<XPButton*>(it.value())) {
            const QString name = it.key();
            connect(button, &XPButton::Click, this, [this, name] { click(name); });
        }
    }
    if (auto* owner = control<Label>(QStringLiteral("LbBR")))
        connect(owner, &Label::clicked, this,
                [this] { host_.openUrl(QUrl(appinfo::ownerSiteAddress())); });
    if (auto* list = control<QListWidget>(QStringLiteral("List1")))
        connect(list, &QListWidget::currentRowChanged, this, &frmMain::selectEntry);
    wireOverlay();
    wireSaveAll();
    wirePrefetch();
}

void frmMain::click(const QString& buttonName)
{
    if (const auto command = commands_.value(buttonName)) command();
}

bool frmMain::photoLoaded() const
{
    const XPButton* save = control<XPButton>(QStringLiteral("XPButton2"));
    return save && save->enabledState();
}

int frmMain::load()
{
    if (!loadDateFonts(env_.appDirectory)) {
        MessageRequest m;
        m.text = QCoreApplication::translate("ui", "未发现所需要的字体文件，请重新安装本软件！");
        m.title = appinfo::applicationTitle();
        host_.showMessage(m);
        return kExitFontMissing;
    }
    if (!runtime_.Initialise()) {
        showNotice(host_, QStringLiteral("GDI+ Initialisation Failed."), MsgIcon::Exclamation);
        return kExitRuntimeFailed;
    }
    const int widthPx = kWindowWidthTwips / kTwipsPerPixel;
    const int heightPx = kWindowHeightTwips / kTwipsPerPixel;
    setFixedSize(widthPx, heightPx);
    setPhotoButtonsEnabled(false);

    const QRect screen = this->screen() ? this->screen()->geometry() : QRect(0, 0, 1024, 768);
    settings_ = AppSettings();
    settings_.frmMainX =
        defaultWindowPosition(double(screen.width()) * kTwipsPerPixel, kWindowWidthTwips);
    settings_.frmMainY =
        defaultWindowPosition(double(screen.height()) * kTwipsPerPixel, kWindowHeightTwips);
    env_.store.readAll(settings_, [this](const char* key, bool value) { applySwitch(key, value); });
    loadOptions_.autoOrient = env_.store.readAutoOrient();
    prefetch_.setLoadOptions(loadOptions_);

    setWindowTitle(appinfo::windowCaption());
    if (auto* owner = control<QLabel>(QStringLiteral("LbBR"))) {
        owner->setText(appinfo::ownerNotice());
        owner->setAlignment(Qt::AlignRight | Qt::AlignBottom);
        owner->setToolTip(appinfo::ownerNoticeTip());
    }
    // Showing runs the frame's resize procedure, which brings the saved position onto the screen
    // and moves the window there.
    show();
    shown_ = true;
    if (auto* focus = control(QStringLiteral("PicFocus"))) focus->setFocus();
    if (env_.initialPhoto.isEmpty())
        openPhotoCommand();
    else
        openInitialPhoto();
    return 0;
}

void frmMain::applySwitch(const char* key, bool value)
{
    // Check1 starts checked and Check2 unchecked; only a differing stored value changes them,
    // and the change handler copies the state back into the setting.
    if (qstrcmp(key, "addDTB") == 0 && !value)
        control<QCheckBox>(QStringLiteral("Check1"))->setChecked(false);
    if (qstrcmp(key, "addTXB") == 0 && value)
        control<QCheckBox>(QStringLiteral("Check2"))->setChecked(true);
}

void frmMain::aboutCommand()
{
    MessageRequest m;
    m.text = appinfo::aboutText();
    m.title = appinfo::aboutTitle();
    m.icon = MsgIcon::Information;
    host_.showMessage(m);
}

void frmMain::restoreDefaults()
{
    if (restoreDefaultsCommand(settings_, host_) && photoLoaded()) redraw();
}

void frmMain::closeCommand()
{
    if (askQuestion(host_, QCoreApplication::translate("ui", "你确定要关闭并结束程序吗？")))
        close();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    unloadOnce();
    event->accept();
}

void frmMain::unloadOnce()
{
    if (unloaded_ || !shown_) return;
    unloaded_ = true;
    doc_.releaseExifImage();
    runtime_.Shutdown();
    env_.store.writeAll(settings_, float(x()) * kTwipsPerPixel, float(y()) * kTwipsPerPixel);
}

}  // namespace orvello
