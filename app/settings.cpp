#include "app/settings.h"

#include "app/messages.h"

#include <QFileInfo>
#include <QLocale>
#include <QSettings>
#include <QStandardPaths>
#include <cmath>
#include <limits>
#include <memory>

namespace orvello {

const char* const SettingsStore::kApplication = "Orvello";
const char* const SettingsStore::kSection = "SetLog";

void AppSettings::restoreOverlayDefaults()
{
    const AppSettings d;
    addFont = d.addFont;
    addFontSize = d.addFontSize;
    addFontBold = d.addFontBold;
    addFontItalic = d.addFontItalic;
    addForeColor = d.addForeColor;
    addCurrentX = d.addCurrentX;
    addCurrentY = d.addCurrentY;
    addFont2 = d.addFont2;
    addCurrentX2 = d.addCurrentX2;
    addCurrentY2 = d.addCurrentY2;
}

qint32 defaultWindowPosition(double screenTwips, double windowTwips)
{
    // nearbyint rounds halves to even in the default rounding mode; '/' truncates like '\'.
    return static_cast<qint32>(std::nearbyint(screenTwips - windowTwips)) / 2;
}

QString encodeBool(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString encodeFloat(float value)
{
    // 'G' with seven digits drops trailing zeros and switches to an exponent only for very large
    // or small values, the way a single-precision value is usually printed.
    return QString::number(static_cast<double>(value), 'G', 7);
}

QString encodeInt(qint64 value)
{
    return QString::number(value);
}

namespace {

std::optional<double> decodeNumber(const QString& text)
{
    bool ok = false;
    const double v = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

template <typename Int>
std::optional<Int> decodeInteger(const QString& text)
{
    const auto v = decodeNumber(text);
    if (!v) return std::nullopt;
    const double r = std::nearbyint(*v);
    if (r < std::numeric_limits<Int>::min() || r > std::numeric_limits<Int>::max())
        return std::nullopt;
    return static_cast<Int>(r);
}

}  // namespace

std::optional<bool> decodeBool(const QString& text)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
    const auto v = decodeNumber(t);
    if (!v) return std::nullopt;
    return *v != 0.0;
}

std::optional<float> decodeFloat(const QString& text)
{
    const auto v = decodeNumber(text);
    if (!v || std::fabs(*v) > std::numeric_limits<float>::max()) return std::nullopt;
    return static_cast<float>(*v);
}

std::optional<qint32> decodeInt32(const QString& text)
{
    return decodeInteger<qint32>(text);
}
std::optional<qint16> decodeInt16(const QString& text)
{
    return decodeInteger<qint16>(text);
}

// Where QSettings keeps a per-user INI file of organisation and application "Orvello". The path
// is formed here rather than asked of QSettings, which would read the file while answering.
SettingsStore::SettingsStore()
    : iniPath_(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
               QLatin1Char('/') + QLatin1String(kApplication) + QLatin1Char('/') +
               QLatin1String(kApplication) + QStringLiteral(".ini"))
{
}

SettingsStore::SettingsStore(QString iniPath) : iniPath_(std::move(iniPath)) {}

std::unique_ptr<QSettings> SettingsStore::open() const
{
    return std::make_unique<QSettings>(iniPath_, QSettings::IniFormat);
}

bool SettingsStore::mayRead() const
{
    const QFileInfo info(iniPath_);
    if (!info.isFile()) return false;  // absent, a folder, a pipe, a device
    return readable_ ? readable_(iniPath_) : info.isReadable();
}

bool SettingsStore::mayWrite() const
{
    const QFileInfo info(iniPath_);
    if (!info.exists() && !info.isSymLink()) return true;  // a first run creates it
    return mayRead();
}

namespace {

// s is null when the file may not be read: every key then keeps its default.
template <typename T, typename Decode>
void readKey(const QSettings* s, const char* key, T& field, Decode decode)
{
    if (!s) return;
    const QVariant stored = s->value(QString::fromLatin1(key));
    if (!stored.isValid()) return;
    // A value the INI parser turned into a list (a stray comma) or anything else that is not
    // plain text does not convert: the field keeps its default.
    if (stored.typeId() != QMetaType::QString) return;
    if (const auto v = decode(stored.toString())) field = *v;
}

std::optional<QString> decodeText(const QString& text)
{
    return text;
}

}  // namespace

void SettingsStore::readAll(AppSettings& st,
                            const std::function<void(const char*, bool)>& onSwitch) const
{
    std::unique_ptr<QSettings> file;
    if (mayRead()) {
        file = open();
        file->beginGroup(QString::fromLatin1(kSection));
    }
    const QSettings* s = file.get();
    readKey(s, "frmMainX", st.frmMainX, decodeInt32);
    readKey(s, "frmMainY", st.frmMainY, decodeInt32);
    readKey(s, "addDTB", st.addDTB, decodeBool);
    if (onSwitch) onSwitch("addDTB", st.addDTB);
    readKey(s, "addTXB", st.addTXB, decodeBool);
    if (onSwitch) onSwitch("addTXB", st.addTXB);
    readKey(s, "addFont", st.addFont, decodeText);
    readKey(s, "addFontSize", st.addFontSize, decodeFloat);
    readKey(s, "addFontBold", st.addFontBold, decodeBool);
    readKey(s, "addFontItalic", st.addFontItalic, decodeBool);
    readKey(s, "addForeColor", st.addForeColor, decodeInt32);
    readKey(s, "addCurrentX", st.addCurrentX, decodeFloat);
    readKey(s, "addCurrentY", st.addCurrentY, decodeFloat);
    readKey(s, "addFont2", st.addFont2, decodeText);
    readKey(s, "addCurrentX2", st.addCurrentX2, decodeFloat);
    readKey(s, "addCurrentY2", st.addCurrentY2, decodeFloat);
    readKey(s, "DPaperSize", st.DPaperSize, decodeInt16);
}

void SettingsStore::writeAll(const AppSettings& st, float left, float top) const
{
    if (!mayWrite()) return;
    auto s = open();
    // A file with malformed lines is written back with what could be read of it, ours mended:
    // starting it afresh would lose the groups of others.
    if (s->status() == QSettings::AccessError) return;
    s->beginGroup(QString::fromLatin1(kSection));
    const auto put = [&](const char* key, const QString& text) {
        s->setValue(QString::fromLatin1(key), text);
    };
    put("frmMainX", encodeFloat(left));
    put("frmMainY", encodeFloat(top));
    put("addDTB", encodeBool(st.addDTB));
    put("addTXB", encodeBool(st.addTXB));
    put("addFont", st.addFont);
    put("addFontSize", encodeFloat(st.addFontSize));
    put("addFontBold", encodeBool(st.addFontBold));
    put("addFontItalic", encodeBool(st.addFontItalic));
    put("addForeColor", encodeInt(st.addForeColor));
    put("addCurrentX", encodeFloat(st.addCurrentX));
    put("addCurrentY", encodeFloat(st.addCurrentY));
    put("addFont2", st.addFont2);
    put("addCurrentX2", encodeFloat(st.addCurrentX2));
    put("addCurrentY2", encodeFloat(st.addCurrentY2));
    put("DPaperSize", encodeInt(st.DPaperSize));
    s->endGroup();
    s->sync();  // a store that cannot be written reports nothing
}

bool SettingsStore::readAutoOrient() const
{
    bool on = true;
    if (!mayRead()) return on;
    const auto s = open();
    s->beginGroup(QString::fromLatin1(kSection));
    readKey(s.get(), "AutoOrient", on, decodeBool);
    return on;
}

namespace {
const char* const kSaveAllSection = "SaveAll";
}

SaveAllOptions SettingsStore::readSaveAllOptions() const
{
    SaveAllOptions o;
    if (!mayRead()) return o;
    const auto s = open();
    s->beginGroup(QString::fromLatin1(kSaveAllSection));
    readKey(s.get(), "KeepExif", o.keepMetadata, decodeBool);
    readKey(s.get(), "Lossless", o.lossless, decodeBool);
    int quality = o.quality;
    readKey(s.get(), "Quality", quality, decodeInt32);
    if (quality >= 1 && quality <= 100) o.quality = quality;
    return o;
}

void SettingsStore::writeSaveAllOptions(const SaveAllOptions& o) const
{
    if (!mayWrite()) return;
    auto s = open();
    if (s->status() == QSettings::AccessError) return;
    s->beginGroup(QString::fromLatin1(kSaveAllSection));
    s->setValue(QStringLiteral("KeepExif"), encodeBool(o.keepMetadata));
    s->setValue(QStringLiteral("Quality"), encodeInt(o.quality));
    s->setValue(QStringLiteral("Lossless"), encodeBool(o.lossless));
    s->endGroup();
    s->sync();
}

bool restoreDefaultsCommand(AppSettings& settings, Host& host)
{
    if (!askQuestion(host, QStringLiteral("你确定要恢复默认设置吗？"))) return false;
    settings.restoreOverlayDefaults();
    return true;
}

}  // namespace orvello
