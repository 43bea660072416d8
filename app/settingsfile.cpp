#include "app/settingsfile.h"

#include "app/settings.h"

#include <QFile>
#include <QFileInfo>
#include <functional>
#include <map>

namespace orvello {

namespace {

using Check = std::function<bool(const QString&)>;

template <typename Decode>
Check converts(Decode decode)
{
    return [decode](const QString& text) { return decode(text).has_value(); };
}

// The keys of the window's group and whether a text converts for each.
const std::map<QString, Check>& keyChecks()
{
    static const std::map<QString, Check> checks = [] {
        const Check anyText = [](const QString&) { return true; };
        return std::map<QString, Check>{{QStringLiteral("frmMainX"), converts(decodeInt32)},
                                        {QStringLiteral("frmMainY"), converts(decodeInt32)},
                                        {QStringLiteral("addDTB"), converts(decodeBool)},
                                        {QStringLiteral("addTXB"), converts(decodeBool)},
                                        {QStringLiteral("addFont"), anyText},
                                        {QStringLiteral("addFontSize"), converts(decodeFloat)},
                                        {QStringLiteral("addFontBold"), converts(decodeBool)},
                                        {QStringLiteral("addFontItalic"), converts(decodeBool)},
                                        {QStringLiteral("addForeColor"), converts(decodeInt32)},
                                        {QStringLiteral("addCurrentX"), converts(decodeFloat)},
                                        {QStringLiteral("addCurrentY"), converts(decodeFloat)},
                                        {QStringLiteral("addFont2"), anyText},
                                        {QStringLiteral("addCurrentX2"), converts(decodeFloat)},
                                        {QStringLiteral("addCurrentY2"), converts(decodeFloat)},
                                        {QStringLiteral("DPaperSize"), converts(decodeInt16)}};
    }();
    return checks;
}

QString unquoted(const QString& value)
{
    return value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"')
               ? value.mid(1, value.size() - 2)
               : value;
}

}  // namespace

QString settingsFileProblem(const QString& path)
{
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return QStringLiteral("无法读取设置文件：%1（%2）")
            .arg(path,
                 info.exists() && !info.isFile() ? QStringLiteral("不是文件") : file.errorString());
    const QByteArray bytes = file.readAll();
    const QString text = QString::fromUtf8(bytes);
    if (text.toUtf8() != bytes) return QStringLiteral("设置文件不是 UTF-8 文本：%1").arg(path);
    const QString group = QString::fromLatin1(SettingsStore::kSection);
    QString current;
    int number = 0;
    for (const QString& raw : text.split(u'\n')) {
        ++number;
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#')) continue;
        const auto bad = [&](const QString& why) {
            return QStringLiteral("设置文件 %1 第 %2 行%3：%4")
                .arg(path)
                .arg(number)
                .arg(why, line);
        };
        if (line.startsWith(u'[')) {
            if (!line.endsWith(u']') || line.size() < 3) return bad(QStringLiteral("的组名不完整"));
            current = line.mid(1, line.size() - 2).trimmed();
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0) return bad(QStringLiteral("不是“键=值”"));
        if (current != group) continue;
        const auto check = keyChecks().find(line.left(eq).trimmed());
        if (check == keyChecks().end()) continue;
        if (!check->second(unquoted(line.mid(eq + 1).trimmed())))
            return bad(QStringLiteral("的值无法识别"));
    }
    return {};
}

}  // namespace orvello
