#include "ui/frmmain.h"

#include "app/appinfo.h"
#include "app/messages.h"
#include "app/startup.h"
#include "ui/host.h"
#include "components/jpegwriter.h"
#include "imaging/photodecoder.h"
#include "imaging/printlayout.h"
#include "imaging/rotation.h"
#include "photo/folderlist.h"
#include "ui/label.h"
#include "ui/mcmndlg.h"
#include "ui/picturebox.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <algorithm>

namespace orvello {

namespace {

const char kDesignResource[] = ":/design/frmmain.json";
constexpr quint32 kPreviewBackColor = 0xE0E0E0;

// One page: the canvas at the printable area's origin, as large as the layout allows.
void printCanvas(QPrinter& printer, const QImage& canvas)
{
    const QSizeF pageTwips = printer.pageLayout().fullRectPoints().size() * 20.0;
    const QSizeF canvasTwips = QSizeF(canvas.size()) * double(kTwipsPerPixel);
    const QSizeF twips = printPictureSize(canvasTwips, pageTwips);
    const double perTwip = printer.resolution() / 1440.0;
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(QPointF(0, 0), twips * perTwip), canvas);
    painter.end();  // ends the document: the page goes out
}

// The canvas with no photo open: 735 × 735 twips of silver.
QImage emptyCanvas()
{
    QImage canvas(49, 49, QImage::Format_RGB32);
    canvas.fill(QColor(0xC0, 0xC0, 0xC0));
    return canvas;
}

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
    control<PictureBox>(QStringLiteral("Picture0"))->setImage(emptyCanvas());
    wireCommands();
    // The session ending or a termination request quits the application without closing the
    // window: the settings are written all the same.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &frmMain::unloadOnce);
}

frmMain::~frmMain() = default;

void frmMain::buildFromDesign()
{
    const FormSpec form = loadDesign(QString::fromLatin1(kDesignResource));
    setWindowTitle(form.caption);
    setBackground(this, form.backColor);
    QVector<ControlSpec> ordered = form.controls;
    std::stable_sort(ordered.begin(), ordered.end(), [](const ControlSpec& a, const ControlSpec& b) {
        return unsigned(a.tabIndex) < unsigned(b.tabIndex);  // -1 sorts last
    });
    QWidget* previous = nullptr;
    for (const ControlSpec& spec : ordered) {
        QWidget* w = createControl(spec);
        if (!w)
            continue;
        w->setObjectName(spec.name);
        w->setGeometry(twipsToPixels(spec.twips));
        if (!spec.toolTip.isEmpty())
            w->setToolTip(spec.toolTip);
        controls_.insert(spec.name, w);
        if (spec.tabIndex < 0) {
            w->setFocusPolicy(Qt::NoFocus);
            continue;
        }
        if (w->focusPolicy() == Qt::NoFocus)
            w->setFocusPolicy(Qt::StrongFocus);
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

QWidget* frmMain::createControl(const ControlSpec& spec)
{
    const QJsonObject& x = spec.extra;
    if (spec.kind == QLatin1String("label")) {
        auto* label = new Label(spec.caption, this);
        if (x.contains(QLatin1String("foreColor"))) {
            QPalette pal = label->palette();
            pal.setColor(QPalette::WindowText,
                         colorFromValue(quint32(x.value(QLatin1String("foreColor")).toInteger())));
            label->setPalette(pal);
        }
        return label;
    }
    if (spec.kind == QLatin1String("list"))
        return new QListWidget(this);
    if (spec.kind == QLatin1String("textbox")) {
        if (x.value(QLatin1String("multiLine")).toBool()) {
            auto* edit = new QPlainTextEdit(this);
            edit->setReadOnly(true);
            edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
            return edit;
        }
        return new QLineEdit(spec.caption, this);
    }
    if (spec.kind == QLatin1String("picture")) {
        auto* box = new PictureBox(this);
        if (x.contains(QLatin1String("backColor")))
            setBackground(box, quint32(x.value(QLatin1String("backColor")).toInteger()));
        box->setAutoSize(x.value(QLatin1String("autoSize")).toBool());
        return box;
    }
    if (spec.kind == QLatin1String("checkbox")) {
        auto* box = new QCheckBox(spec.caption, this);
        box->setChecked(x.value(QLatin1String("checked")).toBool());
        if (x.contains(QLatin1String("backColor")))
            setBackground(box, quint32(x.value(QLatin1String("backColor")).toInteger()));
        return box;
    }
    if (spec.kind == QLatin1String("xpbutton")) {
        auto* button = new QPushButton(spec.caption, this);
        if (x.value(QLatin1String("bold")).toBool()) {
            QFont f = button->font();
            f.setBold(true);
            button->setFont(f);
        }
        return button;
    }
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
    for (auto it = controls_.cbegin(); it != controls_.cend(); ++it) {
        if (auto* button = qobject_cast<QAbstractButton*>(it.value());
            button && it.key().startsWith(QLatin1String("XPButton"))) {
            const QString name = it.key();
            connect(button, &QAbstractButton::clicked, this, [this, name] { click(name); });
        }
    }
    if (auto* owner = control<Label>(QStringLiteral("LbBR")))
        connect(owner, &Label::clicked, this,
                [this] { host_.openUrl(QUrl(appinfo::ownerSiteAddress())); });
    if (auto* list = control<QListWidget>(QStringLiteral("List1")))
        connect(list, &QListWidget::currentRowChanged, this, &frmMain::selectEntry);
    if (auto* c1 = control<QCheckBox>(QStringLiteral("Check1")))
        connect(c1, &QCheckBox::toggled, this, [this, c1] { onCheckChanged(c1, settings_.addDTB); });
    if (auto* c2 = control<QCheckBox>(QStringLiteral("Check2")))
        connect(c2, &QCheckBox::toggled, this, [this, c2] { onCheckChanged(c2, settings_.addTXB); });
}

void frmMain::click(const QString& buttonName)
{
    if (const auto command = commands_.value(buttonName))
        command();
}

bool frmMain::photoLoaded() const
{
    const QWidget* save = control(QStringLiteral("XPButton2"));
    return save && save->isEnabled();
}

int frmMain::load()
{
    if (!loadDateFonts(env_.appDirectory)) {
        MessageRequest m;
        m.text = QStringLiteral("未发现所需要的字体文件，请重新安装本软件！");
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
    control(QStringLiteral("XPButton2"))->setEnabled(false);
    control(QStringLiteral("XPButton23"))->setEnabled(false);

    const QRect screen = this->screen() ? this->screen()->geometry() : QRect(0, 0, 1024, 768);
    settings_ = AppSettings();
    settings_.frmMainX =
        defaultWindowPosition(double(screen.width()) * kTwipsPerPixel, kWindowWidthTwips);
    settings_.frmMainY =
        defaultWindowPosition(double(screen.height()) * kTwipsPerPixel, kWindowHeightTwips);
    env_.store.readAll(settings_, [this](const char* key, bool value) { applySwitch(key, value); });

    setWindowTitle(appinfo::windowCaption());
    if (auto* owner = control<QLabel>(QStringLiteral("LbBR"))) {
        owner->setText(appinfo::ownerNotice());
        owner->setAlignment(Qt::AlignRight | Qt::AlignBottom);
        owner->setToolTip(appinfo::ownerNoticeTip());
    }
    // The stored position stays as stored; the window itself is kept on the screen.
    const int left = std::clamp(twipsToPixels(settings_.frmMainX), 0,
                                std::max(0, screen.width() - widthPx));
    const int top = std::clamp(twipsToPixels(settings_.frmMainY), 0,
                               std::max(0, screen.height() - heightPx));
    move(left, top);
    show();
    shown_ = true;
    if (auto* focus = control(QStringLiteral("PicFocus")))
        focus->setFocus();
    openPhotoCommand();
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

void frmMain::onCheckChanged(QCheckBox* box, bool& field)
{
    field = box->isChecked();
    if (photoLoaded())
        redraw();
}

void frmMain::redraw()
{
    DrawOverlay();
    ShowPreview();
}

void frmMain::DrawOverlay()
{
    control<PictureBox>(QStringLiteral("Picture0"))->setImage(doc_.photo);
}

void frmMain::ShowPreview()
{
    auto* preview = control<PictureBox>(QStringLiteral("Picture1"));
    QImage out(preview->size(), QImage::Format_RGB32);
    out.fill(colorFromValue(kPreviewBackColor));
    const QImage& canvas = control<PictureBox>(QStringLiteral("Picture0"))->image();
    if (!canvas.isNull()) {
        const int w1 = out.width(), h1 = out.height();
        QRect dest;
        if (doc_.isPortrait) {
            const int w = canvas.width() * h1 / canvas.height();
            dest = QRect((w1 - w) / 2, 0, w, h1);
        } else {
            const int h = canvas.height() * w1 / canvas.width();
            dest = QRect(0, (h1 - h) / 2, w1, h);
        }
        QPainter p(&out);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(dest, canvas);
    }
    preview->setImage(out);
}

void frmMain::openPhotoCommand()
{
    // The dialog gets copies: a cancelled dialog keeps the current path and name.
    QString fileName = doc_.photoPath;
    QString fileTitle = doc_.photoName;
    QString filter = QStringLiteral("照片文件 (*.jpg;*.tif)|*.jpg;*.tif");
    bool readOnly = false;
    qint32 filterIndex = 1;
    qint32 flags = 0;
    if (!mCmnDlg::ShowOpenDialog(fileName, fileTitle, true, false, readOnly, true, filter,
                                 filterIndex, QString(), QStringLiteral("选择打开照片文件"),
                                 QStringLiteral("jpg"), host_, flags))
        return;
    doc_.photoFolder = folderOfPath(fileName);
    auto* list = control<QListWidget>(QStringLiteral("List1"));
    const FolderList found = listPhotoFolder(doc_.photoFolder, fileTitle);
    {
        const QSignalBlocker quiet(list);
        list->clear();
        list->addItems(found.names);
    }
    if (found.names.isEmpty()) {
        showNotice(host_,
                   QStringLiteral("文件夹“%1”中没有 .jpg 或 .tif 照片文件。").arg(doc_.photoFolder),
                   MsgIcon::Information);
        return;
    }
    {
        const QSignalBlocker quiet(list);
        list->setCurrentRow(found.chosenIndex);
    }
    selectEntry(found.chosenIndex);
}

void frmMain::selectEntry(int row)
{
    auto* list = control<QListWidget>(QStringLiteral("List1"));
    if (row < 0 || row >= list->count())
        return;
    doc_.photoName = list->item(row)->text();
    doc_.photoPath = doc_.photoFolder + doc_.photoName;
    control<QLabel>(QStringLiteral("Label1"))->setText(QStringLiteral("当前文件：") + doc_.photoPath);

    const FileBytes file = readPhotoFile(doc_.photoPath);
    DecodedPhoto decoded = file.ok() ? decodePhoto(file.bytes) : DecodedPhoto{{}, false, file.error};
    if (decoded.image.isNull()) {
        showNoPhoto();
        showNotice(host_,
                   QStringLiteral("无法打开照片文件“%1”：%2。").arg(doc_.photoPath, decoded.error),
                   MsgIcon::Exclamation);
        return;
    }
    doc_.photo = std::move(decoded.image);
    control<PictureBox>(QStringLiteral("Picture0"))->setImage(doc_.photo);
    doc_.isPortrait = PhotoDocument::portrait(doc_.photo);
    runExifStep(file.bytes);
    if (settings_.addDTB || settings_.addTXB)
        DrawOverlay();
    ShowPreview();
    setPhotoButtonsEnabled(true);
    if (decoded.incomplete)
        showNotice(host_,
                   QStringLiteral("照片文件“%1”不完整或已损坏，缺失的部分无法显示。").arg(doc_.photoPath),
                   MsgIcon::Exclamation);
}

// Nothing valid is shown: the canvas goes back to its empty state, so the preview, Save and Print
// never use a photo other than the one named.
void frmMain::showNoPhoto()
{
    setPhotoButtonsEnabled(false);
    doc_.photo = QImage();
    doc_.isPortrait = false;
    doc_.captureDateText.clear();
    control<PictureBox>(QStringLiteral("Picture0"))->setImage(emptyCanvas());
    control<QPlainTextEdit>(QStringLiteral("Text0"))->setPlainText(QString());
    ShowPreview();
}

QImage frmMain::canvas() const
{
    return control<PictureBox>(QStringLiteral("Picture0"))->image();
}

void frmMain::rotateCommand(const QString& buttonName, QImage (*turn)(const QImage&))
{
    if (!photoLoaded())
        return;
    QWidget* button = control(buttonName);
    button->setEnabled(false);
    setPhotoButtonsEnabled(false);
    control(QStringLiteral("PicFocus"))->setFocus();
    // Only the photo turns: the overlay is drawn afresh, upright, on the new shape.
    const QImage turned = turn(doc_.photo);
    if (!turned.isNull()) {
        doc_.photo = turned;
        control<PictureBox>(QStringLiteral("Picture0"))->setImage(doc_.photo);
        doc_.isPortrait = PhotoDocument::portrait(doc_.photo);
    }
    if (settings_.addDTB || settings_.addTXB)
        DrawOverlay();
    ShowPreview();
    button->setEnabled(true);
    setPhotoButtonsEnabled(true);
    button->setFocus();
}

void frmMain::saveCommand()
{
    if (!photoLoaded())
        return;
    QString fileName = QStringLiteral("PM_") + doc_.photoName;
    QString fileTitle;
    QString filter = QStringLiteral("JPEG Files (*.jpg)|*.jpg");
    qint32 filterIndex = 1;
    qint32 flags = 0;
    if (!mCmnDlg::ShowSaveDialog(fileName, fileTitle, true, filter, filterIndex, QString(),
                                 QStringLiteral("照片文件另存为…(注:保存后的文件不包含相关EXIF信息)"),
                                 QString(), host_, flags))
        return;
    JpegWriter writer;
    if (!writer.save(canvas(), fileName))
        showNotice(host_, QStringLiteral("存储失败！"), MsgIcon::None);
}

void frmMain::printCommand()
{
    if (!photoLoaded())
        return;
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!host_.hasPrinter()) {
        // No printer at all: offer a PDF file instead of failing silently.
        if (!askQuestion(host_, QStringLiteral("系统中没有安装打印机。是否改为打印到 PDF 文件？")))
            return;
        QString fileName = QStringLiteral("PM_") + QFileInfo(doc_.photoName).completeBaseName() +
                           QStringLiteral(".pdf");
        QString fileTitle;
        QString filter = QStringLiteral("PDF 文件 (*.pdf)|*.pdf");
        qint32 filterIndex = 1;
        qint32 flags = 0;
        if (!mCmnDlg::ShowSaveDialog(fileName, fileTitle, true, filter, filterIndex, QString(),
                                     QStringLiteral("打印到 PDF 文件"), QStringLiteral("pdf"), host_,
                                     flags))
            return;
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setOutputFileName(fileName);
    }
    printer_->setPageOrientation(doc_.isPortrait ? QPageLayout::Portrait : QPageLayout::Landscape);
    if (settings_.DPaperSize != 0) {
        const QPageSize paper(QPageSize::id(settings_.DPaperSize));
        if (paper.isValid())
            printer_->setPageSize(paper);
    }
    if (!host_.printSetup(*printer_))
        return;
    settings_.DPaperSize = qint16(printer_->pageLayout().pageSize().windowsId());
    printCanvas(*printer_, canvas());
}

void frmMain::runExifStep(const QByteArray& bytes)
{
    Q_UNUSED(bytes);
    control<QPlainTextEdit>(QStringLiteral("Text0"))->setPlainText(QStringLiteral("当前文件EXIF信息："));
    doc_.captureDateText.clear();
}

void frmMain::setPhotoButtonsEnabled(bool on)
{
    control(QStringLiteral("XPButton2"))->setEnabled(on);
    control(QStringLiteral("XPButton23"))->setEnabled(on);
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
    if (restoreDefaultsCommand(settings_, host_) && photoLoaded())
        redraw();
}

void frmMain::closeCommand()
{
    if (askQuestion(host_, QStringLiteral("你确定要关闭并结束程序吗？")))
        close();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    unloadOnce();
    event->accept();
}

void frmMain::unloadOnce()
{
    if (unloaded_ || !shown_)
        return;
    unloaded_ = true;
    runtime_.Shutdown();
    env_.store.writeAll(settings_, float(x()) * kTwipsPerPixel, float(y()) * kTwipsPerPixel);
}

}  // namespace orvello
