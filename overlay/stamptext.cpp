#include "overlay/stamptext.h"

#include <QCoreApplication>
#include <QLocale>
#include <QRegularExpression>

namespace orvello {

namespace {

constexpr int kMaxPatternLength = 100;

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// The run lengths Qt's notation gives a meaning to, for each field letter.
bool knownRun(QChar letter, qsizetype run)
{
    switch (letter.unicode()) {
    case 'd':
    case 'M': return run <= 4;
    case 'y': return run == 2 || run == 4;
    case 'h':
    case 'H':
    case 'm':
    case 's': return run <= 2;
    case 'z': return run == 1 || run == 3;
    default: return false;
    }
}

// Up to one decimal, without a trailing ".0": 2.8, 4, 35.
QString numberText(double v)
{
    QString s = QString::number(v, 'f', 1);
    if (s.endsWith(QLatin1String(".0"))) s.chop(2);
    return s;
}

std::optional<double> ratioValue(const std::optional<PhotoFields::Ratio>& r)
{
    if (!r || r->first <= 0 || r->second <= 0) return std::nullopt;
    return double(r->first) / double(r->second);
}

// A field's text; *known is false for a name that is no field.
QString fieldText(const QString& name, const PhotoFields& p, const DateFormat& format, bool* known)
{
    *known = true;
    if (name == u"Make") return p.make;
    if (name == u"Model") return p.model;
    if (name == u"LensModel") return p.lensModel;
    if (name == u"FileName") return p.fileName;
    if (name == u"ISO") return p.iso ? QString::number(*p.iso) : QString();
    if (name == u"FNumber") {
        const auto v = ratioValue(p.fNumber);
        return v ? QStringLiteral("f/") + numberText(*v) : QString();
    }
    if (name == u"FocalLength") {
        const auto v = ratioValue(p.focalLength);
        return v ? numberText(*v) + QStringLiteral("mm") : QString();
    }
    if (name == u"ExposureTime") {
        // Short times as the fraction cameras show; from a quarter second on, in seconds.
        const auto v = ratioValue(p.exposureTime);
        if (!v) return {};
        return *v < 0.25001 ? QStringLiteral("1/%1").arg(qRound64(1 / *v)) : numberText(*v);
    }
    DateFormat dateFormat = format;
    if (name.startsWith(u"Date:")) dateFormat.pattern = name.sliced(5);
    if ((name == u"Date" || name.startsWith(u"Date:")) &&
        checkDatePattern(dateFormat.pattern).isEmpty())
        return p.captureDateText.isEmpty() ? QString()
                                           : stampDateText(p.captureDateText, dateFormat);
    *known = false;
    return {};
}

struct Piece {
    QString text;
    bool field = false;
};

// The title cut into text and fields. A brace without its pair is text, and named in *error.
QList<Piece> piecesOf(const QString& title, QString* error)
{
    QList<Piece> out;
    QString text;
    for (qsizetype i = 0; i < title.size(); ++i) {
        const QChar c = title[i];
        const bool brace = c == u'{' || c == u'}';
        if (brace && i + 1 < title.size() && title[i + 1] == c) {
            text += c;
            ++i;
            continue;
        }
        if (c == u'{') {
            const qsizetype end = title.indexOf(u'}', i + 1), inner = title.indexOf(u'{', i + 1);
            if (end >= 0 && (inner < 0 || inner > end)) {
                if (!text.isEmpty()) out.append({text});
                text.clear();
                out.append({title.mid(i + 1, end - i - 1), true});
                i = end;
                continue;
            }
        }
        if (brace && error->isEmpty())
            *error = QCoreApplication::translate(
                         "overlay", "标题中的“%1”没有配对的花括号：花括号本身请写作 {{ 或 }}")
                         .arg(c);
        text += c;
    }
    if (!text.isEmpty()) out.append({text});
    return out;
}

}  // namespace

QList<DatePreset> datePresets()
{
    return {
        {QString::fromLatin1(kDefaultDatePattern),
         QCoreApplication::translate("overlay", "日期和时间（默认）")},
        {QStringLiteral("yyyy-MM-dd"), QCoreApplication::translate("overlay", "仅日期")},
        {QStringLiteral("HH:mm:ss"), QCoreApplication::translate("overlay", "仅时间")},
        {QStringLiteral("''yy MM dd"),
         QCoreApplication::translate("overlay", "胶片相机（'yy MM dd）")},
        {QStringLiteral("dd.MM.yyyy"), QCoreApplication::translate("overlay", "日.月.年")},
        {QStringLiteral("MM/dd/yyyy"), QCoreApplication::translate("overlay", "月/日/年")},
        {QStringLiteral("yyyy年M月d日"), QCoreApplication::translate("overlay", "中文日期")},
        {QStringLiteral("yyyy-MM-dd hh:mm AP"),
         QCoreApplication::translate("overlay", "日期和 12 小时制时间")},
    };
}

QString checkDatePattern(const QString& pattern)
{
    if (pattern.trimmed().isEmpty())
        return QCoreApplication::translate("overlay", "日期格式不能为空");
    if (pattern.size() > kMaxPatternLength)
        return QCoreApplication::translate("overlay", "日期格式过长（最多 %1 个字符）")
            .arg(kMaxPatternLength);
    bool fields = false;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        if (c == u'\'') {
            // Quoted text up to the closing quote; '' is a quote itself, inside quotes or out.
            qsizetype j = i + 1;
            if (j < pattern.size() && pattern[j] == u'\'') {
                i += 2;
                continue;
            }
            for (;; ++j) {
                if (j >= pattern.size())
                    return QCoreApplication::translate(
                        "overlay",
                        "日期格式中的引号没有配对：文字请写在一对单引号中，单引号本身写作 ''");
                if (pattern[j] != u'\'') continue;
                if (j + 1 < pattern.size() && pattern[j + 1] == u'\'')
                    ++j;
                else
                    break;
            }
            i = j + 1;
            continue;
        }
        if (!isAsciiLetter(c)) {
            ++i;
            continue;
        }
        qsizetype run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c) ++run;
        if (c == u't')
            return QCoreApplication::translate(
                "overlay", "日期格式不能含时区（t）：照片记录的拍摄时间不带时区");
        // AM/PM: A or AP, a or ap.
        const bool ampm = (c == u'a' || c == u'A') && run == 1;
        if (!ampm && !knownRun(c, run))
            return QCoreApplication::translate(
                       "overlay", "日期格式中的“%1”不是日期或时间字段：文字请写在单引号中，如 'T'")
                .arg(pattern.mid(i, run));
        fields = true;
        i += run;
        if (ampm && i < pattern.size() && (pattern[i] == u'p' || pattern[i] == u'P')) ++i;
    }
    if (!fields) return QCoreApplication::translate("overlay", "日期格式中没有日期或时间字段");
    return {};
}

std::optional<qint64> parseClockShift(const QString& text, QString* error)
{
    const QString t = text.trimmed();
    if (t.isEmpty()) return 0;
    auto fail = [&](const QString& why) -> std::optional<qint64> {
        if (error) *error = why;
        return std::nullopt;
    };
    static const QRegularExpression form(
        QStringLiteral("^([+-]?)(?:([0-9]{1,5}) +)?([0-9]{1,2}):([0-9]{1,2})(?::([0-9]{1,2}))?$"));
    const QRegularExpressionMatch m = form.match(t);
    if (!m.hasMatch())
        return fail(
            QCoreApplication::translate("overlay",
                                        "时间偏移“%1”的格式不对：应为 [+|-][天 ]时:分[:秒]，"
                                        "例如 +1:30 或 -1 2:00")
                .arg(t.left(40)));
    const qint64 days = m.captured(2).toLongLong(), hours = m.captured(3).toLongLong();
    const qint64 minutes = m.captured(4).toLongLong(), seconds = m.captured(5).toLongLong();
    if (hours > 23)
        return fail(QCoreApplication::translate(
            "overlay", "时间偏移的小时须在 0 到 23 之间：整天请写在前面，如 +1 12:00"));
    if (minutes > 59 || seconds > 59)
        return fail(QCoreApplication::translate("overlay", "时间偏移的分和秒须在 0 到 59 之间"));
    const qint64 total = ((days * 24 + hours) * 60 + minutes) * 60 + seconds;
    return m.captured(1) == u"-" ? -total : total;
}

QDateTime captureDateTime(const QString& captureDateText)
{
    static const QRegularExpression form(
        QStringLiteral("^([0-9]{4})-([0-9]{2})-([0-9]{2}) ([0-9]{2}):([0-9]{2}):([0-9]{2})$"));
    const QRegularExpressionMatch m = form.match(captureDateText);
    if (!m.hasMatch()) return {};
    auto n = [&](int i) { return m.captured(i).toInt(); };
    const QDate date(n(1), n(2), n(3));
    const QTime time(n(4), n(5), n(6));
    if (!date.isValid() || !time.isValid()) return {};
    // In UTC, where every day has 24 hours: a shift across a daylight-saving change of the
    // machine's zone must not gain or lose an hour.
    return QDateTime(date, time, Qt::UTC);
}

QString stampDateText(const QString& captureDateText, const DateFormat& format)
{
    const QDateTime recorded = captureDateTime(captureDateText);
    if (!recorded.isValid()) return captureDateText;
    const QDateTime shifted = recorded.addSecs(format.shiftSeconds);
    const int year = shifted.date().year();
    if (!shifted.isValid() || year < 1 || year > 9999) return captureDateText;
    // The C locale: the same text on every machine, whatever its language.
    return QLocale::c().toString(shifted, format.pattern);
}

QString checkTitleFields(const QString& title)
{
    QString error;
    const QList<Piece> pieces = piecesOf(title, &error);
    if (!error.isEmpty()) return error;
    for (const Piece& piece : pieces) {
        if (!piece.field) continue;
        bool known = false;
        fieldText(piece.text, PhotoFields(), DateFormat(), &known);
        if (known) continue;
        if (piece.text.startsWith(u"Date:")) return checkDatePattern(piece.text.sliced(5));
        return QCoreApplication::translate(
                   "overlay",
                   "标题中没有“{%1}”这个字段：可用的字段有 {Make} {Model} {LensModel} "
                   "{FNumber} {ExposureTime} {ISO} {FocalLength} {FileName} {Date} "
                   "{Date:格式}")
            .arg(piece.text.left(40));
    }
    return {};
}

QString fillTitleFields(const QString& title, const PhotoFields& photo, const DateFormat& format)
{
    QString error, out;
    for (const Piece& piece : piecesOf(title, &error)) {
        bool known = false;
        const QString value =
            piece.field ? fieldText(piece.text, photo, format, &known) : QString();
        out += known         ? value
               : piece.field ? QLatin1Char('{') + piece.text + QLatin1Char('}')
                             : piece.text;
    }
    return out;
}

}  // namespace orvello
