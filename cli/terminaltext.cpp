#include "cli/terminaltext.h"

#include <unistd.h>

namespace orvello {

QString visibleControls(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool control = u < 0x20 || (u >= 0x7F && u <= 0x9F);
        if (!control || u == u'\n') {
            out += c;
            continue;
        }
        out += QStringLiteral("\\x") + QString::number(u, 16).toUpper().rightJustified(2, u'0');
    }
    return out;
}

QString terminalSafe(const QString& text, std::FILE* stream)
{
    return ::isatty(::fileno(stream)) ? visibleControls(text) : text;
}

}  // namespace orvello
