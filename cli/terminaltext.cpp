#include "cli/terminaltext.h"

#include <unistd.h>

namespace orvello {

namespace {

bool isTerminal(std::FILE* stream)
{
    return ::isatty(::fileno(stream));
}

bool isBidiControl(char16_t u)
{
    return (u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069);
}

}  // namespace

QString visibleControls(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\r' || u == u'\n') {
            out += u == u'\r' ? QLatin1String("\\r") : QLatin1String("\\n");
        } else if (isBidiControl(u)) {
            out += QStringLiteral("\\u") + QString::number(u, 16).toUpper();
        } else if (u < 0x20 || (u >= 0x7F && u <= 0x9F)) {
            out += QStringLiteral("\\x") + QString::number(u, 16).toUpper().rightJustified(2, u'0');
        } else {
            out += c;
        }
    }
    return out;
}

QString terminalSafe(const QString& text, std::FILE* stream)
{
    return isTerminal(stream) ? visibleControls(text) : text;
}

QString terminalListing(const QString& text, const QList<qsizetype>& itemStarts, std::FILE* stream)
{
    if (!isTerminal(stream))
        return QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n"));
    // Each item line follows the CR LF that the listing puts before it.
    QString out;
    qsizetype from = 0;
    for (qsizetype i = 0; i <= itemStarts.size(); ++i) {
        const qsizetype end = i < itemStarts.size() ? itemStarts[i] - 2 : text.size();
        if (i > 0) out += QLatin1Char('\n');
        out += visibleControls(text.mid(from, end - from));
        if (i < itemStarts.size()) from = itemStarts[i];
    }
    return out;
}

}  // namespace orvello
