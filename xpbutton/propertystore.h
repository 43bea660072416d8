#pragma once
// The property store a host keeps for each XPButton instance: keys mapped to typed
// values (text, 16-bit and 32-bit integers, boolean, font, picture). Keys are compared without
// regard to letter case; writing a value equal to the key's default omits the key; reading a
// missing key yields the reader's default. Pictures are held as PNG data. The JSON form is the
// one of the program's design data:
//   text → string, integers → number, boolean → true/false,
//   font → {"font": {"name", "size" (points), "bold", "italic", "underline", "strikethrough",
//                    "charset"}},
//   picture → {"picture": {"type": "bitmap" | "icon" | "cursor", "png": base64, "hotX", "hotY"}}.
#include "xpbutton/xbpicture.h"

#include <QFont>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <optional>
#include <stdexcept>
#include <variant>

namespace orvello {

// A value that cannot be read as the type asked for (or a malformed JSON entry).
// The surface's error text for a value it rejects.
inline const QString kInvalidPropertyValue = QStringLiteral("Invalid property value");

class PropertyStoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class PropertyStore {
public:
    struct StoredPicture {
        QByteArray png;
        XbPicture::Type type = XbPicture::Type::Bitmap;
        QPoint hotSpot;
        friend bool operator==(const StoredPicture&, const StoredPicture&) = default;
    };
    struct StoredFont {
        QFont font;
        int charset = 1;  // the font's character set as the design data gives it (1: default)
    };
    using Value = std::variant<QString, qint16, qint32, bool, StoredFont, StoredPicture>;
    enum class Type { Text, Int16, Int32, Bool, Font, Picture };

    // Writing: the key is removed instead when the value equals the given default.
    void writeText(const QString& key, const QString& value, std::optional<QString> def = {});
    void writeInt16(const QString& key, qint16 value, std::optional<qint16> def = {});
    void writeInt32(const QString& key, qint32 value, std::optional<qint32> def = {});
    void writeBool(const QString& key, bool value, std::optional<bool> def = {});
    void writeFont(const QString& key, const QFont& value);
    void writePicture(const QString& key, const XbPicture& value, bool omitWhenNone = true);

    // Reading: the default when the key is missing. A value that cannot be converted to the
    // type asked for (text that is no number, a number out of the 16-bit range, a font read as
    // a number …) throws PropertyStoreError. Numbers and booleans convert into each other, true
    // being −1.
    QString readText(const QString& key, const QString& def = {}) const;
    qint16 readInt16(const QString& key, qint16 def = 0) const;
    qint32 readInt32(const QString& key, qint32 def = 0) const;
    bool readBool(const QString& key, bool def = false) const;
    QFont readFont(const QString& key, const QFont& def) const;
    XbPicture readPicture(const QString& key, const XbPicture& def = {}) const;

    bool contains(const QString& key) const { return indexOf(key) >= 0; }
    std::optional<Type> typeOf(const QString& key) const;
    std::optional<Value> value(const QString& key) const;
    void setValue(const QString& key, const Value& v);
    void remove(const QString& key);
    void clear() { entries_.clear(); }
    // Keys as written, in the order of their first writing.
    QStringList keys() const;
    bool isEmpty() const { return entries_.isEmpty(); }

    QJsonObject toJson() const;
    // Throws PropertyStoreError for an entry that is none of the JSON forms above.
    static PropertyStore fromJson(const QJsonObject& json);

private:
    template <typename Int>
    Int readInteger(const QString& key, Int def, const char* what) const;
    struct Entry {
        QString key;
        Value value;
    };
    qsizetype indexOf(const QString& key) const;
    const Value* find(const QString& key) const;
    QList<Entry> entries_;
};

}  // namespace orvello
