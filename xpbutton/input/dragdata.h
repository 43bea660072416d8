#pragma once
// The data of a drag the control starts: a format a drop target asks for and the data does not
// hold yet is asked of the control's owner through OLESetData, as it is needed.
#include <QMimeData>
#include <QPointer>

namespace orvello {

class XPButton;

class XbDragData : public QMimeData {
public:
    explicit XbDragData(XPButton* source) : source_(source) {}

    // Clipboard format numbers of the control's events: 1 text, 2 bitmap, 15 files, 0 other.
    static int formatNumber(const QString& mimeType);

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    QPointer<XPButton> source_;
    mutable bool asking_ = false;
};

}  // namespace orvello
