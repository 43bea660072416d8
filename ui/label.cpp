#include "ui/label.h"

#include <QMouseEvent>
#include <algorithm>

namespace orvello {

void Label::setPathText(const QString& prefix, const QString& path)
{
    const int room = parentWidget() ? parentWidget()->contentsRect().right() + 1 - x() : width();
    setText(prefix);
    const int pathRoom = room - sizeHint().width();
    const QFontMetrics metrics(font());
    setText(prefix + metrics.elidedText(path, Qt::ElideMiddle, std::max(0, pathRoom)));
    setToolTip(path);
    // At least the font's line height: the design's height may be less, and would cut the
    // descenders (an underscore in a file name) off.
    resize(std::clamp(sizeHint().width(), 0, std::max(0, room)),
           std::max(height(), lineHeightWithDescenders(font(), devicePixelRatioF())));
}

int lineHeightWithDescenders(const QFont& font, qreal deviceScale)
{
    const QFontMetrics metrics(font);
    if (deviceScale == 1) return metrics.height();
    // Outlines put the underscore below the font's descent in some faces (a Song face's does).
    const int lowest = metrics.boundingRect(QStringLiteral("_gjpqy")).bottom() + 1;
    return metrics.ascent() + std::max(metrics.descent(), lowest) + 1;
}

QSize RowsWithDescenders::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    const qreal scale = option.widget ? option.widget->devicePixelRatioF() : 1;
    const int extra = lineHeightWithDescenders(option.font, scale) - option.fontMetrics.height();
    if (extra > 0) size.rheight() += extra;
    return size;
}

void Label::mousePressEvent(QMouseEvent* event)
{
    emit pressed(event->button());
    QLabel::mousePressEvent(event);
}

void Label::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

}  // namespace orvello
