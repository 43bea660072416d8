#include "ui/accessibility.h"

#include "ui/frame/captionbutton.h"
#include "ui/picturebox.h"

#include <QAccessibleWidget>
#include <QTimer>
#include <QWidget>

namespace orvello {

namespace {

// The frame's minimise and close images: buttons whose press does what a click does.
class AccessibleCaptionButton : public QAccessibleWidget {
public:
    explicit AccessibleCaptionButton(QWidget* w) : QAccessibleWidget(w, QAccessible::Button) {}

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override
    {
        // Once the caller has its answer: closing asks a question first.
        auto* button = static_cast<CaptionButton*>(widget());
        if (name == pressAction() && button->isEnabled())
            QTimer::singleShot(0, button, [button] { emit button->clicked(); });
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

QAccessibleInterface* frameFactory(const QString& className, QObject* object)
{
    if (!object || !object->isWidgetType()) return nullptr;
    auto* w = static_cast<QWidget*>(object);
    if (className == QLatin1String("orvello::CaptionButton")) return new AccessibleCaptionButton(w);
    if (className == QLatin1String("orvello::PictureBox"))
        return new QAccessibleWidget(w, QAccessible::Graphic);
    return nullptr;
}

struct Name {
    const char* control;
    const char* name;
};

// Where the caption does not say it all; every other button reads as its caption.
constexpr Name kNames[] = {
    {"XPButton3", "向左旋转"},
    {"XPButton4", "向右旋转"},
    {"XPButton5", "向上移动标题"},
    {"XPButton6", "向下移动标题"},
    {"XPButton7", "向左移动标题"},
    {"XPButton8", "向右移动标题"},
    {"XPButton9", "向上移动日期"},
    {"XPButton10", "向下移动日期"},
    {"XPButton11", "向左移动日期"},
    {"XPButton12", "向右移动日期"},
    {"XPButton15", "缩小文字"},
    {"XPButton17", "增大文字"},
    {"List1", "照片目录"},
    {"Text0", "照片文件EXIF信息"},
    {"Text1", "标题文字"},
    {"Picture1", "照片预览"},
    {"Immin", "最小化"},
    {"Imclose", "关闭"},
};

}  // namespace

void nameForScreenReaders(QWidget& window)
{
    static const bool installed = [] {
        QAccessible::installFactory(frameFactory);
        return true;
    }();
    Q_UNUSED(installed);
    for (const Name& n : kNames)
        if (auto* w = window.findChild<QWidget*>(QString::fromLatin1(n.control)))
            w->setAccessibleName(QString::fromUtf8(n.name));
}

}  // namespace orvello
