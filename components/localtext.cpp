#include "components/localtext.h"

#include <QStringDecoder>

namespace orvello {

QString decodeLocalBytes(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;
    QStringDecoder gb18030("GB18030", QStringDecoder::Flag::Stateless);
    if (gb18030.isValid()) return gb18030.decode(bytes);
    return text;
}

}  // namespace orvello
