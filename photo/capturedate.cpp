#include "photo/capturedate.h"

namespace orvello {

namespace {

QStringView trimBlanks(QStringView s)
{
    while (!s.isEmpty() && s.front() == QLatin1Char(' ')) s = s.sliced(1);
    while (!s.isEmpty() && s.back() == QLatin1Char(' ')) s.chop(1);
    return s;
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

}  // namespace

bool isPlainNumber(QStringView s)
{
    if (!s.isEmpty() && (s.front() == QLatin1Char('+') || s.front() == QLatin1Char('-')))
        s = s.sliced(1);
    bool digits = false;
    bool point = false;
    for (QChar c : s) {
        if (isDigit(c)) {
            digits = true;
        } else if (c == QLatin1Char('.') && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digits;
}

namespace {
const QString dateName = QStringLiteral("ExifDTOrig");
QString dateAt(const QString& text, qsizetype at);
}  // namespace

QString captureDateFromListing(const QString& text)
{
    return dateAt(text, text.indexOf(dateName));
}

QString captureDateFromListing(const QString& text, const QList<qsizetype>& itemStarts)
{
    // Only an item's own line counts: a value may hold a forged "ExifDTOrig" after a line break.
    for (const qsizetype start : itemStarts)
        if (QStringView(text).sliced(start).startsWith(dateName + QLatin1Char(' ')))
            return dateAt(text, start);
    return {};
}

namespace {

QString dateAt(const QString& text, qsizetype at)
{
    if (at < 0) return {};
    const qsizetype start = at + dateName.size();
    qsizetype end = text.indexOf(QStringLiteral("\r\n"), at);
    if (end < 0) end = text.size();
    const QStringView candidate = trimBlanks(QStringView(text).sliced(start, end - start));

    const qsizetype blank = candidate.indexOf(QLatin1Char(' '));
    if (!candidate.contains(QLatin1Char(':')) || blank < 0) return {};
    QString digits = candidate.toString();
    digits.remove(QLatin1Char(':')).remove(QLatin1Char(' '));
    if (!isPlainNumber(digits)) return {};

    QString date = candidate.first(blank).toString();
    date.replace(QLatin1Char(':'), QLatin1Char('-'));
    return date + QLatin1Char(' ') + candidate.sliced(blank + 1).toString();
}

}  // namespace

}  // namespace orvello
