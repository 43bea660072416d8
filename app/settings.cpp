#include "app/settings.h"

#include "app/messages.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <type_traits>

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

// Qt decides what a field is: a pattern that formats two date-times differing in every part
// alike holds none. A small check of its own; formatting the stamp is the overlay's.
std::optional<QString> decodeDatePattern(const QString& text)
{
    if (text.size() > kMaxSettingText) return std::nullopt;
    const QDateTime a(QDate(2001, 2, 3), QTime(4, 5, 6, 7));
    const QDateTime b(QDate(2012, 11, 25), QTime(15, 16, 17, 890));
    if (QLocale::c().toString(a, text) == QLocale::c().toString(b, text)) return std::nullopt;
    return text;
}

// Only the grammar; applying the shift to a capture time is the overlay's.
std::optional<QString> decodeDateShift(const QString& text)
{
    static const QRegularExpression grammar(
        QStringLiteral("^[+-]?(?:\\d{1,5} )?\\d{1,2}:([0-5]\\d)(?::([0-5]\\d))?$"));
    const QString t = text.trimmed();
    if (!t.isEmpty() && !grammar.match(t).hasMatch()) return std::nullopt;
    return t;
}

namespace {

template <typename Enum, size_t N>
std::optional<Enum> decodeName(const std::array<const char*, N>& names, const QString& text)
{
    for (size_t i = 0; i < N; ++i)
        if (text.trimmed().compare(QLatin1String(names[i]), Qt::CaseInsensitive) == 0)
            return Enum(i);
    return std::nullopt;
}

constexpr std::array<const char*, 4> kStyleNames{"plain", "outline", "shadow", "plate"};
constexpr std::array<const char*, 2> kFallbackNames{"none", "file"};

}  // namespace

QString encodeStampStyle(StampStyle style)
{
    return QLatin1String(kStyleNames[size_t(style)]);
}
std::optional<StampStyle> decodeStampStyle(const QString& text)
{
    return decodeName<StampStyle>(kStyleNames, text);
}
QString encodeDateFallback(DateFallback fallback)
{
    return QLatin1String(kFallbackNames[size_t(fallback)]);
}
std::optional<DateFallback> decodeDateFallback(const QString& text)
{
    return decodeName<DateFallback>(kFallbackNames, text);
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

const char* const kSaveAllSection = "SaveAll";
const char* const kStampSection = "Stamp";

// The text a stored value holds; a value the INI parser turned into a list (a stray comma) or
// anything else that is not plain text has none, and does not convert.
std::optional<QString> storedText(const QVariant& stored)
{
    if (stored.typeId() != QMetaType::QString) return std::nullopt;
    return stored.toString();
}

std::optional<QString> decodeText(const QString& text)
{
    if (text.size() > kMaxSettingText) return std::nullopt;
    return text;
}

QString encodeText(const QString& text)
{
    return text;
}

std::optional<int> decodeQuality(const QString& text)
{
    const auto v = decodeInt32(text);
    if (!v || *v < 1 || *v > 100) return std::nullopt;
    return *v;
}

// Keys read beside AppSettings and never written by the window.
struct SetLogExtras {
    bool autoOrient = true;
};

// One key of the table: where it lives and how its text goes to and from its field.
template <typename Owner>
struct Key {
    const char* group;
    const char* key;
    std::function<bool(Owner&, const QString&)> decode;  // sets the field when the text converts
    std::function<QString(const Owner&)> encode;         // empty: read, never written
};

template <typename Owner, typename Field, typename Decode, typename Encode = std::nullptr_t>
Key<Owner> key(const char* group, const char* name, Field Owner::*field, Decode decode,
               Encode encode = nullptr)
{
    Key<Owner> k{group,
                 name,
                 [field, decode](Owner& owner, const QString& text) {
                     const auto v = decode(text);
                     if (v) owner.*field = *v;
                     return v.has_value();
                 },
                 {}};
    if constexpr (!std::is_same_v<Encode, std::nullptr_t>)
        k.encode = [field, encode](const Owner& owner) { return encode(owner.*field); };
    return k;
}

// The window's values, in the order they are read and written.
const std::vector<Key<AppSettings>>& windowKeys()
{
    const char* const g = SettingsStore::kSection;
    using S = AppSettings;
    static const std::vector<Key<S>> keys{
        key(g, "frmMainX", &S::frmMainX, decodeInt32, encodeInt),
        key(g, "frmMainY", &S::frmMainY, decodeInt32, encodeInt),
        key(g, "addDTB", &S::addDTB, decodeBool, encodeBool),
        key(g, "addTXB", &S::addTXB, decodeBool, encodeBool),
        key(g, "addFont", &S::addFont, decodeText, encodeText),
        key(g, "addFontSize", &S::addFontSize, decodeFloat, encodeFloat),
        key(g, "addFontBold", &S::addFontBold, decodeBool, encodeBool),
        key(g, "addFontItalic", &S::addFontItalic, decodeBool, encodeBool),
        key(g, "addForeColor", &S::addForeColor, decodeInt32, encodeInt),
        key(g, "addCurrentX", &S::addCurrentX, decodeFloat, encodeFloat),
        key(g, "addCurrentY", &S::addCurrentY, decodeFloat, encodeFloat),
        key(g, "addFont2", &S::addFont2, decodeText, encodeText),
        key(g, "addCurrentX2", &S::addCurrentX2, decodeFloat, encodeFloat),
        key(g, "addCurrentY2", &S::addCurrentY2, decodeFloat, encodeFloat),
        key(g, "DPaperSize", &S::DPaperSize, decodeInt16, encodeInt),
        key(kStampSection, "DateFormat", &S::dateFormat, decodeDatePattern, encodeText),
        key(kStampSection, "DateShift", &S::dateShift, decodeDateShift, encodeText),
        key(kStampSection, "DateFallback", &S::dateFallback, decodeDateFallback,
            encodeDateFallback),
        key(kStampSection, "DateStyle", &S::dateStyle, decodeStampStyle, encodeStampStyle),
        key(kStampSection, "TitleStyle", &S::titleStyle, decodeStampStyle, encodeStampStyle)};
    return keys;
}

const std::vector<Key<SetLogExtras>>& extraKeys()
{
    static const std::vector<Key<SetLogExtras>> keys{
        key(SettingsStore::kSection, "AutoOrient", &SetLogExtras::autoOrient, decodeBool)};
    return keys;
}

const std::vector<Key<SaveAllOptions>>& saveAllKeys()
{
    const char* const g = kSaveAllSection;
    using O = SaveAllOptions;
    static const std::vector<Key<O>> keys{
        key(g, "KeepExif", &O::keepMetadata, decodeBool, encodeBool),
        key(g, "Quality", &O::quality, decodeQuality, encodeInt),
        key(g, "Lossless", &O::lossless, decodeBool, encodeBool)};
    return keys;
}

QString path(const char* group, const char* key)
{
    return QString::fromLatin1(group) + QLatin1Char('/') + QString::fromLatin1(key);
}

// A key missing, or a text that does not convert, keeps the field's default.
template <typename Owner>
void readKey(const QSettings& s, const Key<Owner>& k, Owner& owner)
{
    if (const auto text = storedText(s.value(path(k.group, k.key)))) k.decode(owner, *text);
}

template <typename Owner>
void addChecks(std::vector<SettingsKey>& list, const std::vector<Key<Owner>>& keys)
{
    for (const Key<Owner>& k : keys)
        list.push_back({k.group, k.key, [decode = k.decode](const QVariant& stored) {
                            Owner scratch;
                            const auto text = storedText(stored);
                            return text && decode(scratch, *text);
                        }});
}

}  // namespace

const std::vector<SettingsKey>& settingsKeys()
{
    static const std::vector<SettingsKey> list = [] {
        std::vector<SettingsKey> l;
        addChecks(l, windowKeys());
        addChecks(l, extraKeys());
        addChecks(l, saveAllKeys());
        return l;
    }();
    return list;
}

QString titleTooLongMessage(qsizetype length)
{
    return QCoreApplication::translate("app", "标题过长：%1 个字符，最多 %2 个")
        .arg(length)
        .arg(kMaxTitleLength);
}

void SettingsStore::readAll(AppSettings& st,
                            const std::function<void(const char*, bool)>& onSwitch) const
{
    // A file that may not be read leaves every key at its default.
    const auto s = mayRead() ? open() : nullptr;
    for (const Key<AppSettings>& k : windowKeys()) {
        if (s) readKey(*s, k, st);
        if (!onSwitch) continue;
        if (qstrcmp(k.key, "addDTB") == 0) onSwitch(k.key, st.addDTB);
        if (qstrcmp(k.key, "addTXB") == 0) onSwitch(k.key, st.addTXB);
    }
}

void SettingsStore::writeAll(const AppSettings& st, float left, float top) const
{
    if (!mayWrite()) return;
    auto s = open();
    // A file with malformed lines is written back with what could be read of it, ours mended:
    // starting it afresh would lose the groups of others.
    if (s->status() == QSettings::AccessError) return;
    for (const Key<AppSettings>& k : windowKeys()) {
        // The position is the window's at this moment, written as a float.
        QString text = k.encode(st);
        if (qstrcmp(k.key, "frmMainX") == 0) text = encodeFloat(left);
        if (qstrcmp(k.key, "frmMainY") == 0) text = encodeFloat(top);
        s->setValue(path(k.group, k.key), text);
    }
    s->sync();  // a store that cannot be written reports nothing
}

bool SettingsStore::readAutoOrient() const
{
    SetLogExtras extras;
    if (!mayRead()) return extras.autoOrient;
    const auto s = open();
    for (const auto& k : extraKeys()) readKey(*s, k, extras);
    return extras.autoOrient;
}

SaveAllOptions SettingsStore::readSaveAllOptions() const
{
    SaveAllOptions o;
    if (!mayRead()) return o;
    const auto s = open();
    for (const auto& k : saveAllKeys()) readKey(*s, k, o);
    return o;
}

void SettingsStore::writeSaveAllOptions(const SaveAllOptions& o) const
{
    if (!mayWrite()) return;
    auto s = open();
    if (s->status() == QSettings::AccessError) return;
    for (const auto& k : saveAllKeys()) s->setValue(path(k.group, k.key), k.encode(o));
    s->sync();
}

bool restoreDefaultsCommand(AppSettings& settings, Host& host)
{
    if (!askQuestion(host, QCoreApplication::translate("app", "你确定要恢复默认设置吗？")))
        return false;
    settings.restoreOverlayDefaults();
    return true;
}

}  // namespace orvello
