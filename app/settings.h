#pragma once
// AppSettings: the fifteen values Orvello keeps between runs (application "Orvello", group
// "SetLog") and the stamp's additions (group "Stamp"), and their text encodings in the per-user
// store.
#include "host/host.h"

#include <QString>
#include <QtGlobal>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QSettings;
class QVariant;

namespace orvello {

// Fixed window size at start-up, in twips.
inline constexpr int kWindowWidthTwips = 12000;
inline constexpr int kWindowHeightTwips = 9000;
inline constexpr int kTwipsPerPixel = 15;

inline constexpr qint32 kDefaultForeColor = 8454143;  // red 255, green 255, blue 128

// The longest title drawn, in characters: far beyond the width of any photo, and short enough
// that laying it out stays instant (a title of a hundred thousand characters took seconds).
inline constexpr int kMaxTitleLength = 1000;
// The longest text value the store takes (a font face name): a longer one keeps the default.
inline constexpr int kMaxSettingText = 256;
// Why a title of that many characters is refused.
QString titleTooLongMessage(qsizetype length);

// How a stamp is set off from the photo: plain (the window's own look), a dark halo around each
// glyph, a soft offset shadow, or a rounded dark plate behind the text.
enum class StampStyle { Plain, Outline, Shadow, Plate };
// Where a photo without a recorded capture date takes one: nowhere, or its file's modification
// time.
enum class DateFallback { None, File };

inline constexpr char kDefaultDateFormat[] = "yyyy-MM-dd HH:mm:ss";

struct AppSettings {
    qint32 frmMainX = 0;
    qint32 frmMainY = 0;
    bool addDTB = true;
    bool addTXB = false;
    QString addFont = QStringLiteral("DigifaceWide");
    float addFontSize = 2.0f;
    bool addFontBold = false;
    bool addFontItalic = false;
    qint32 addForeColor = kDefaultForeColor;
    float addCurrentX = 60.0f;
    float addCurrentY = 91.0f;
    QString addFont2 = QStringLiteral("宋体");
    float addCurrentX2 = 5.0f;
    float addCurrentY2 = 8.0f;
    qint16 DPaperSize = 0;

    // The group "Stamp", beside the fifteen: how the date is written and shifted, where it comes
    // from, and the look of both items. Restoring the defaults leaves them.
    QString dateFormat = QString::fromLatin1(kDefaultDateFormat);  // a Qt date-time pattern
    QString dateShift;  // "[+|-][D ]HH:MM[:SS]" added to the capture time; empty: none
    DateFallback dateFallback = DateFallback::None;
    StampStyle dateStyle = StampStyle::Plain;
    StampStyle titleStyle = StampStyle::Plain;

    // The ten overlay-look fields of the restore-defaults command; switches, paper and position
    // stay.
    void restoreOverlayDefaults();
};

// Centred default position: (screen − window) to the nearest whole number, then integer-divided
// by 2.
qint32 defaultWindowPosition(double screenTwips, double windowTwips);

// Text encodings of the store.
QString encodeBool(bool value);
QString encodeFloat(float value);  // at most seven significant digits, no trailing zeros
QString encodeInt(qint64 value);
std::optional<bool> decodeBool(const QString& text);  // "True"/"False" or a number (0 false)
std::optional<float> decodeFloat(const QString& text);
std::optional<qint32> decodeInt32(const QString& text);
std::optional<qint16> decodeInt16(const QString& text);
// A date pattern holds at least one of Qt's date-time fields (a pattern of literals only would
// stamp the same text on every photo); at most kMaxSettingText characters.
std::optional<QString> decodeDatePattern(const QString& text);
// A clock shift: empty, or "[+|-][D ]H[H]:MM[:SS]" with minutes and seconds below 60.
std::optional<QString> decodeDateShift(const QString& text);
QString encodeStampStyle(StampStyle style);  // "plain", "outline", "shadow", "plate"
std::optional<StampStyle> decodeStampStyle(const QString& text);
QString encodeDateFallback(DateFallback fallback);  // "none", "file"
std::optional<DateFallback> decodeDateFallback(const QString& text);

// Every key the store knows, in the order it is read and written, with its group and whether a
// stored value converts for it. Reading, writing and the check of a settings file all go by the
// one table behind this list.
struct SettingsKey {
    const char* group;
    const char* key;
    std::function<bool(const QVariant& stored)> converts;
};
const std::vector<SettingsKey>& settingsKeys();

// The store itself. Reads and writes go key by key in the fixed key order.
class SettingsStore {
public:
    static const char* const kApplication;
    static const char* const kSection;

    // The per-user store of the running program.
    SettingsStore();
    // A store in the given INI file (tests, the command-line tool's --settings).
    explicit SettingsStore(QString iniPath);

    QString fileName() const { return iniPath_; }

    // Whether the file may be read: by default, whether this process can read it. Tests replace
    // it to stand for a file the process may not read.
    using ReadableCheck = std::function<bool(const QString& path)>;
    void setReadableCheck(ReadableCheck check) { readable_ = std::move(check); }

    // The file is read only when it is a regular file the process may read (a named pipe would
    // block for ever), and written only when it is such a file or does not exist yet: a file we
    // may not read is someone else's to mend, and is left as it is.
    bool mayRead() const;
    bool mayWrite() const;

    // Reads every key into settings, which must already hold the defaults: a missing key or a text
    // that does not convert keeps the default. onSwitch is told right after each switch is read
    // ("addDTB" or "addTXB"), so the window can mirror it in its check box.
    void readAll(AppSettings& settings,
                 const std::function<void(const char* key, bool value)>& onSwitch = {}) const;
    // Writes every key into the groups "SetLog" and "Stamp", keeping every other group and key of
    // the file; the window position comes from the window's current left and top.
    void writeAll(const AppSettings& settings, float windowLeftTwips, float windowTopTwips) const;

    // Keys beside AppSettings, each read and written on its own.
    // "AutoOrient" in the group "SetLog": photos turned upright from their orientation tag;
    // true unless the key says otherwise.
    bool readAutoOrient() const;
    // The choices of "全部保存…", in the group "SaveAll"; a missing or unreadable value keeps
    // its default, a quality outside 1 to 100 included.
    SaveAllOptions readSaveAllOptions() const;
    void writeSaveAllOptions(const SaveAllOptions& options) const;

private:
    std::unique_ptr<QSettings> open() const;
    QString iniPath_;
    ReadableCheck readable_;
};

// The restore-defaults command: asks, and on Yes restores the overlay look. Returns true when the
// fields were restored (the caller then redraws if a photo is shown).
bool restoreDefaultsCommand(AppSettings& settings, Host& host);

}  // namespace orvello
