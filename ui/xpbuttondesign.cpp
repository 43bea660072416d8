#include "ui/xpbuttondesign.h"

#include "ui/frame/artwork.h"

#include "overlay/overlayfonts.h"
#include "xpbutton/xpbutton.h"

#include <QFile>
#include <QFocusEvent>
#include <QWidget>

namespace orvello {

namespace {

const QLatin1String kPicture("picture");
const QLatin1String kResource("resource");

// A picture entry that names a resource gets the resource's PNG data inline.
QJsonValue withResourcePicture(const QJsonValue& value)
{
    if (!value.isObject()) return value;
    QJsonObject outer = value.toObject();
    QJsonObject picture = outer.value(kPicture).toObject();
    if (!picture.contains(kResource)) return value;
    const QString path = QStringLiteral(":/") + picture.take(kResource).toString();
    artwork::picture(path);  // makes its drawing at twice the pixels known to the buttons
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        picture.insert(QLatin1String("png"), QString::fromLatin1(file.readAll().toBase64()));
    else
        qWarning("design picture %s is missing", qPrintable(path));
    outer.insert(kPicture, picture);
    return outer;
}

class DefaultLookFollowsFocus : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* button = static_cast<XPButton*>(watched);
        if (event->type() == QEvent::FocusIn) {
            button->setDisplayAsDefault(button->mode() == 0);  // check and option buttons never
        } else if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason why = static_cast<QFocusEvent*>(event)->reason();
            if (why != Qt::ActiveWindowFocusReason && why != Qt::PopupFocusReason)
                button->setDisplayAsDefault(false);
        }
        return false;
    }
};

}  // namespace

void showAsDefaultWhileFocused(XPButton* button)
{
    button->installEventFilter(new DefaultLookFollowsFocus(button));
}

PropertyStore designPropertyStore(const QJsonObject& properties)
{
    QJsonObject resolved;
    for (auto it = properties.begin(); it != properties.end(); ++it)
        resolved.insert(it.key(), withResourcePicture(it.value()));
    return PropertyStore::fromJson(resolved);
}

XPButton* createXPButton(const ControlDesign& item, QWidget* parent)
{
    // The stored caption face "宋体" must resolve to an installed Song-style face.
    ensureOverlayFaces();
    auto* button = new XPButton(parent);
    button->setObjectName(item.name);
    button->setGeometry(twipsToPixels(item.twips));
    button->readProperties(
        designPropertyStore(item.extra.value(QLatin1String("properties")).toObject()));
    showAsDefaultWhileFocused(button);
    return button;
}

}  // namespace orvello
