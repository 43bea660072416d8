#pragma once
// A label that tells when it is pressed and clicked (drag surfaces, the owner notice).
#include <QLabel>
#include <QStyledItemDelegate>

namespace orvello {

class Label : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // Shows prefix followed by path on one line, growing to the right as far as the parent's
    // client width allows; a path too long for that is elided in the middle, and the tool tip
    // always holds the whole path. The label grows to the font's line height if it is lower.
    void setPathText(const QString& prefix, const QString& path);

signals:
    void pressed(Qt::MouseButton button);
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// The height a line of text in font needs on a screen of deviceScale device pixels per pixel so
// that underscores and descenders stay whole: the font's line height where its bitmap strike
// draws them inside that height (scale 1), down to the lowest of their outlines elsewhere.
int lineHeightWithDescenders(const QFont& font, qreal deviceScale);

// A list's rows as tall as lineHeightWithDescenders asks, so that "_" in a file name shows.
class RowsWithDescenders : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace orvello
