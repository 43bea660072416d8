#include "xpbutton/accesskey.h"

namespace orvello {

std::optional<QString> accessKeyFromCaption(const QString& caption)
{
    const QChar amp(u'&');
    qsizetype marker = -1;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] != amp) continue;
        if (i + 1 < caption.size() && caption[i + 1] == amp) {
            ++i;  // a literal "&"
            continue;
        }
        marker = i;
    }
    if (marker < 0) return std::nullopt;
    return caption.mid(marker + 1, 1);
}

}  // namespace orvello
