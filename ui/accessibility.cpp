#include "ui/accessibility.h"

#include "ui/frame/captionbutton.h"
#include "ui/picturebox.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
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
    {"XPButton3", QT_TRANSLATE_NOOP("ui", "向左旋转")},
    {"XPButton4", QT_TRANSLATE_NOOP("ui", "向右旋转")},
    {"XPButton5", QT_TRANSLATE_NOOP("ui", "向上移动标题")},
    {"XPButton6", QT_TRANSLATE_NOOP("ui", "向下移动标题")},
    {"XPButton7", QT_TRANSLATE_NOOP("ui", "向左移动标题")},
    {"XPButton8", QT_TRANSLATE_NOOP("ui", "向右移动标题")},
    {"XPButton9", QT_TRANSLATE_NOOP("ui", "向上移动日期")},
    {"XPButton10", QT_TRANSLATE_NOOP("ui", "向下移动日期")},
    {"XPButton11", QT_TRANSLATE_NOOP("ui", "向左移动日期")},
    {"XPButton12", QT_TRANSLATE_NOOP("ui", "向右移动日期")},
    {"XPButton15", QT_TRANSLATE_NOOP("ui", "缩小文字")},
    {"XPButton17", QT_TRANSLATE_NOOP("ui", "增大文字")},
    {"List1", QT_TRANSLATE_NOOP("ui", "照片目录")},
    {"Text0", QT_TRANSLATE_NOOP("ui", "照片文件EXIF信息")},
    {"Text1", QT_TRANSLATE_NOOP("ui", "标题文字")},
    {"Picture1", QT_TRANSLATE_NOOP("ui", "照片预览")},
    {"Immin", QT_TRANSLATE_NOOP("ui", "最小化")},
    {"Imclose", QT_TRANSLATE_NOOP("ui", "关闭")},
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
            w->setAccessibleName(QCoreApplication::translate("ui", n.name));
}

}  // namespace orvello
