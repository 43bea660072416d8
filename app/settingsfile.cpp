#include "app/settingsfile.h"

#include "app/settings.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSettings>
#include <QTemporaryDir>
#include <QVariant>
#include <map>
#include <optional>

namespace orvello {

namespace {

// A settings file is a few hundred bytes; one far larger is a mistake, and would make the check
// below read it many times over.
constexpr qint64 kMaxFileBytes = 64 * 1024;
// How much of a line a message quotes.
constexpr int kMaxQuoted = 60;
constexpr char kBom[] = "\xEF\xBB\xBF";

QString quoted(const QByteArray& line)
{
    const QString text = QString::fromUtf8(line).trimmed();
    return text.size() > kMaxQuoted ? text.left(kMaxQuoted) + QStringLiteral("…") : text;
}

// What QSettings reads from an INI file: every key with its value, and whether a line could not
// be parsed.
struct Reading {
    QMap<QString, QVariant> values;
    bool formatError = false;
};

Reading readIni(const QString& path)
{
    const QSettings s(path, QSettings::IniFormat);
    Reading r;
    r.formatError = s.status() == QSettings::FormatError;
    for (const QString& key : s.allKeys()) r.values.insert(key, s.value(key));
    return r;
}

// Finds the line behind what QSettings reads by asking it what the first n lines of the file say:
// the line that gives a key its value is where reading one more line first gives that value.
// Nothing here parses INI itself, so the check cannot disagree with the reading a run makes.
class LineFinder {
public:
    LineFinder(QByteArray bytes, QString path) : bytes_(std::move(bytes)), path_(std::move(path))
    {
        for (qsizetype at = 0; at < bytes_.size();) {
            const qsizetype end = bytes_.indexOf('\n', at);
            ends_ << (end < 0 ? bytes_.size() : end + 1);
            at = ends_.last();
        }
    }

    int lineCount() const { return int(ends_.size()); }
    // What QSettings reads from the whole file: from the copy that the lines are found in, or, when
    // none can be made, from the file itself (once: QSettings tells a malformed line only on the
    // first reading of a file).
    const Reading& whole()
    {
        if (dir_.isValid()) return upTo(lineCount());
        if (!direct_) direct_ = readIni(path_);
        return *direct_;
    }
    // Line n as it reads, without the byte-order mark QSettings passes over.
    QByteArray line(int n) const
    {
        const qsizetype from = n > 1 ? ends_[n - 2] : bytes_.startsWith(kBom) ? 3 : 0;
        return bytes_.mid(from, ends_[n - 1] - from);
    }

    // What QSettings reads from the first n lines; empty when no copy of them can be made.
    const Reading& upTo(int n)
    {
        const auto known = cache_.find(n);
        if (known != cache_.end()) return known->second;
        Reading& r = cache_[n];
        // Each prefix gets a name of its own: QSettings keeps what it read of a file by name.
        const QString path = dir_.filePath(QString::number(n) + QStringLiteral(".ini"));
        QFile copy(path);
        if (n > 0 && dir_.isValid() && copy.open(QIODevice::WriteOnly) &&
            copy.write(bytes_.left(ends_[n - 1])) == ends_[n - 1] && copy.flush()) {
            copy.close();
            r = readIni(path);
        }
        QFile::remove(path);
        return r;
    }

    // The line that gives key the value the whole file gives it; 0 when it cannot be told.
    int lineOf(const QString& key)
    {
        const QVariant whole = upTo(lineCount()).values.value(key);
        return firstLine([&](const Reading& r) {
            const auto v = r.values.constFind(key);
            return v != r.values.cend() && *v == whole;
        });
    }
    // The line at which QSettings first finds the file malformed; 0 when it cannot be told.
    int formatErrorLine()
    {
        return firstLine([](const Reading& r) { return r.formatError; });
    }
    // Whether QSettings reads line n as nothing at all.
    bool ignores(int n) { return upTo(n).values == upTo(n - 1).values; }

private:
    // A line where the predicate turns true, taking the first lines one by one; it holds for the
    // whole file and not for none of it.
    template <typename Holds>
    int firstLine(Holds holds)
    {
        if (!dir_.isValid() || !holds(upTo(lineCount()))) return 0;
        int lo = 0, hi = lineCount();
        while (hi - lo > 1) {
            const int mid = lo + (hi - lo) / 2;
            (holds(upTo(mid)) ? hi : lo) = mid;
        }
        return hi;
    }

    QByteArray bytes_;
    QString path_;
    QList<qsizetype> ends_;
    QTemporaryDir dir_;
    std::map<int, Reading> cache_;
    std::optional<Reading> direct_;
};

struct Problem {
    int line = 0;        // 0: not tied to a line
    QString why;         // completes "第 N 行…"
    QString quotedText;  // the line, in part; the key when not tied to a line
};

// The nearest group line above line n, 0 when there is none.
int groupLineAbove(const LineFinder& lines, int n)
{
    for (int i = n - 1; i > 0; --i)
        if (lines.line(i).trimmed().startsWith('[')) return i;
    return 0;
}

// The first problem with one of our keys as QSettings reads it: a value that does not convert, or
// a name written otherwise than it reads ("[Set%4Cog]" reads as the group SetLog, "add%46ont" as
// the key addFont): such a file does not say what it seems to.
std::optional<Problem> keyProblem(LineFinder& lines)
{
    const Reading& whole = lines.whole();
    std::optional<Problem> first;
    QString name;
    const auto note = [&](int line, const QString& why) {
        if (!first || (line > 0 && (first->line == 0 || line < first->line)))
            first = Problem{line, why, line > 0 ? quoted(lines.line(line)) : name};
    };
    for (const SettingsKey& k : settingsKeys()) {
        name = QString::fromLatin1(k.group) + u'/' + QString::fromLatin1(k.key);
        const auto stored = whole.values.constFind(name);
        if (stored == whole.values.cend()) continue;
        // A value that goes on over lines ending in "\" is found at its last line: step back to
        // its first.
        int line = lines.lineOf(name);
        while (line > 1 && lines.line(line - 1).trimmed().endsWith('\\')) --line;
        if (!k.converts(*stored)) {
            const bool tooLong = stored->typeId() == QMetaType::QString &&
                                 stored->toString().size() > kMaxSettingText;
            note(line, tooLong ? QCoreApplication::translate("app", "的值过长（最多 %1 个字符）")
                                     .arg(kMaxSettingText)
                               : QCoreApplication::translate("app", "的值无法识别"));
        }
        if (line == 0) continue;
        const QByteArray text = lines.line(line).trimmed();
        if (text.left(text.indexOf('=')).trimmed() != k.key)
            note(line, QCoreApplication::translate("app", "的键名与读出的“%1”写法不同")
                           .arg(QLatin1String(k.key)));
        const int group = groupLineAbove(lines, line);
        if (group > 0 && lines.line(group).trimmed() != '[' + QByteArray(k.group) + ']')
            note(group, QCoreApplication::translate("app", "的组名与读出的“%1”写法不同")
                            .arg(QLatin1String(k.group)));
    }
    return first;
}

}  // namespace

QString settingsFileProblem(const QString& path)
{
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return QCoreApplication::translate("app", "无法读取设置文件：%1（%2）")
            .arg(path, info.exists() && !info.isFile()
                           ? QCoreApplication::translate("app", "不是文件")
                           : file.errorString());
    if (file.size() > kMaxFileBytes)
        return QCoreApplication::translate("app", "设置文件过大：%1（%2 字节，最多 %3 字节）")
            .arg(path)
            .arg(file.size())
            .arg(kMaxFileBytes);
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (bytes.size() > kMaxFileBytes)  // grew while it was looked at
        return QCoreApplication::translate("app", "设置文件过大：%1").arg(path);
    LineFinder lines(bytes, path);
    const auto at = [&](int line, const QString& why, const QString& text) {
        return QCoreApplication::translate("app", "设置文件 %1 第 %2 行%3：%4")
            .arg(path)
            .arg(line)
            .arg(why, text);
    };

    // QSettings reads UTF-8 (after a byte-order mark); other bytes would become other characters.
    for (int n = 1; n <= lines.lineCount(); ++n) {
        const QByteArray line = lines.line(n);
        if (QString::fromUtf8(line).toUtf8() != line)
            return QCoreApplication::translate("app", "设置文件不是 UTF-8 文本：%1（第 %2 行）")
                .arg(path)
                .arg(n);
    }

    std::optional<Problem> problem = keyProblem(lines);
    const auto consider = [&](int line, const QString& why) {
        if (!problem || problem->line == 0 || line <= problem->line)
            problem = Problem{line, why, quoted(lines.line(line))};
    };
    if (const int line = lines.formatErrorLine())
        consider(line, QCoreApplication::translate("app", "无法解析"));
    else if (!problem && lines.whole().formatError)  // no copy to find the line in
        return QCoreApplication::translate("app", "设置文件 %1 有无法解析的行").arg(path);
    // A line QSettings passes over (no "=") says something the run would not do. Lines that go on
    // a value ending in "\" are part of it. Each line asked about costs two readings of the file,
    // so a file of such lines is judged by its first hundred.
    int asked = 0;
    for (int n = 1; n <= lines.lineCount() && asked < 100; ++n) {
        if (problem && problem->line > 0 && n >= problem->line) break;
        const QByteArray text = lines.line(n).trimmed();
        if (text.isEmpty() || text.startsWith(';') || text.startsWith('#') ||
            text.startsWith('[') || text.contains('=') ||
            (n > 1 && lines.line(n - 1).trimmed().endsWith('\\')))
            continue;
        ++asked;
        if (lines.ignores(n)) consider(n, QCoreApplication::translate("app", "不是“键=值”"));
    }
    if (!problem) return {};
    if (problem->line == 0)
        return QCoreApplication::translate("app", "设置文件 %1 中键 %2 %3")
            .arg(path, problem->quotedText, problem->why);
    return at(problem->line, problem->why, problem->quotedText);
}

}  // namespace orvello
