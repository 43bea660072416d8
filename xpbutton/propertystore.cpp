#include "xpbutton/propertystore.h"

#include <limits>

#include <QJsonValue>
#include <cmath>

namespace orvello {

namespace {

[[noreturn]] void mismatch(const QString& key, const char* what)
{
    throw PropertyStoreError(QStringLiteral("Type mismatch: property \"%1\" cannot be read as %2")
                                 .arg(key, QLatin1String(what))
                                 .toStdString());
}

// A number for an integer read; nothing when the value is no number.
std::optional<qint64> asInteger(const PropertyStore::Value& v)
{
    if (const auto* s = std::get_if<qint16>(&v)) return *s;
    if (const auto* l = std::get_if<qint32>(&v)) return *l;
    if (const auto* b = std::get_if<bool>(&v)) return *b ? -1 : 0;
    if (const auto* t = std::get_if<QString>(&v)) {
        bool ok = false;
        const double d = t->trimmed().toDouble(&ok);
        if (ok && std::isfinite(d)) return qint64(std::nearbyint(d));
    }
    return std::nullopt;
}

const char* typeName(XbPicture::Type t)
{
    switch (t) {
    case XbPicture::Type::Icon: return "icon";
    case XbPicture::Type::Cursor: return "cursor";
    default: return "bitmap";
    }
}

}  // namespace

qsizetype PropertyStore::indexOf(const QString& key) const
{
    for (qsizetype i = 0; i < entries_.size(); ++i)
        if (entries_[i].key.compare(key, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

const PropertyStore::Value* PropertyStore::find(const QString& key) const
{
    const qsizetype i = indexOf(key);
    return i < 0 ? nullptr : &entries_[i].value;
}

void PropertyStore::setValue(const QString& key, const Value& v)
{
    const qsizetype i = indexOf(key);
    if (i < 0)
        entries_.append({key, v});
    else
        entries_[i].value = v;
}

void PropertyStore::remove(const QString& key)
{
    const qsizetype i = indexOf(key);
    if (i >= 0) entries_.removeAt(i);
}

std::optional<PropertyStore::Value> PropertyStore::value(const QString& key) const
{
    if (const Value* v = find(key)) return *v;
    return std::nullopt;
}

std::optional<PropertyStore::Type> PropertyStore::typeOf(const QString& key) const
{
    if (const Value* v = find(key)) return Type(v->index());
    return std::nullopt;
}

QStringList PropertyStore::keys() const
{
    QStringList out;
    for (const Entry& e : entries_) out << e.key;
    return out;
}

void PropertyStore::writeText(const QString& key, const QString& value, std::optional<QString> def)
{
    if (def && *def == value)
        remove(key);
    else
        setValue(key, value);
}

void PropertyStore::writeInt16(const QString& key, qint16 value, std::optional<qint16> def)
{
    if (def && *def == value)
        remove(key);
    else
        setValue(key, value);
}

void PropertyStore::writeInt32(const QString& key, qint32 value, std::optional<qint32> def)
{
    if (def && *def == value)
        remove(key);
    else
        setValue(key, value);
}

void PropertyStore::writeBool(const QString& key, bool value, std::optional<bool> def)
{
    if (def && *def == value)
        remove(key);
    else
        setValue(key, value);
}

void PropertyStore::writeFont(const QString& key, const QFont& value)
{
    int charset = 1;
    if (const Value* old = find(key))
        if (const auto* f = std::get_if<StoredFont>(old)) charset = f->charset;
    setValue(key, StoredFont{value, charset});
}

void PropertyStore::writePicture(const QString& key, const XbPicture& value, bool omitWhenNone)
{
    if (value.isNull() && omitWhenNone)
        remove(key);
    else
        setValue(key, StoredPicture{value.toPng(), value.type, value.hotSpot});
}

QString PropertyStore::readText(const QString& key, const QString& def) const
{
    const Value* v = find(key);
    if (!v) return def;
    if (const auto* t = std::get_if<QString>(v)) return *t;
    if (const auto* b = std::get_if<bool>(v))
        return *b ? QStringLiteral("True") : QStringLiteral("False");
    if (const auto n = asInteger(*v)) return QString::number(*n);
    mismatch(key, "text");
}

template <typename Int>
Int PropertyStore::readInteger(const QString& key, Int def, const char* what) const
{
    const Value* v = find(key);
    if (!v) return def;
    const auto n = asInteger(*v);
    if (!n) mismatch(key, what);
    if (*n < std::numeric_limits<Int>::min() || *n > std::numeric_limits<Int>::max())
        throw PropertyStoreError(
            QStringLiteral("Overflow: property \"%1\"").arg(key).toStdString());
    return Int(*n);
}

qint32 PropertyStore::readInt32(const QString& key, qint32 def) const
{
    return readInteger<qint32>(key, def, "a 32-bit integer");
}

qint16 PropertyStore::readInt16(const QString& key, qint16 def) const
{
    return readInteger<qint16>(key, def, "a 16-bit integer");
}

bool PropertyStore::readBool(const QString& key, bool def) const
{
    const Value* v = find(key);
    if (!v) return def;
    if (const auto* b = std::get_if<bool>(v)) return *b;
    if (const auto* t = std::get_if<QString>(v)) {
        if (t->compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
        if (t->compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
    }
    const auto n = asInteger(*v);
    if (!n) mismatch(key, "a boolean");
    return *n != 0;
}

QFont PropertyStore::readFont(const QString& key, const QFont& def) const
{
    const Value* v = find(key);
    if (!v) return def;
    if (const auto* f = std::get_if<StoredFont>(v)) return f->font;
    mismatch(key, "a font");
}

XbPicture PropertyStore::readPicture(const QString& key, const XbPicture& def) const
{
    const Value* v = find(key);
    if (!v) return def;
    if (const auto* p = std::get_if<StoredPicture>(v))
        return XbPicture::fromPng(p->png, p->type, p->hotSpot);
    mismatch(key, "a picture");
}

QJsonObject PropertyStore::toJson() const
{
    QJsonObject json;
    for (const Entry& e : entries_) {
        QJsonValue out;
        if (const auto* t = std::get_if<QString>(&e.value)) {
            out = *t;
        } else if (const auto* s = std::get_if<qint16>(&e.value)) {
            out = int(*s);
        } else if (const auto* l = std::get_if<qint32>(&e.value)) {
            out = qint64(*l);
        } else if (const auto* b = std::get_if<bool>(&e.value)) {
            out = *b;
        } else if (const auto* f = std::get_if<StoredFont>(&e.value)) {
            const QFont& font = f->font;
            QJsonObject o;
            o[QLatin1String("name")] = font.family();
            o[QLatin1String("size")] =
                font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 72.0 / 96.0;
            o[QLatin1String("bold")] = font.bold();
            o[QLatin1String("italic")] = font.italic();
            o[QLatin1String("underline")] = font.underline();
            o[QLatin1String("strikethrough")] = font.strikeOut();
            o[QLatin1String("charset")] = f->charset;
            out = QJsonObject{{QLatin1String("font"), o}};
        } else if (const auto* p = std::get_if<StoredPicture>(&e.value)) {
            QJsonObject o;
            o[QLatin1String("type")] = QLatin1String(typeName(p->type));
            o[QLatin1String("png")] = QString::fromLatin1(p->png.toBase64());
            if (p->type == XbPicture::Type::Cursor) {
                o[QLatin1String("hotX")] = p->hotSpot.x();
                o[QLatin1String("hotY")] = p->hotSpot.y();
            }
            out = QJsonObject{{QLatin1String("picture"), o}};
        }
        json[e.key] = out;
    }
    return json;
}

PropertyStore PropertyStore::fromJson(const QJsonObject& json)
{
    PropertyStore store;
    for (auto it = json.begin(); it != json.end(); ++it) {
        const QString key = it.key();
        const QJsonValue v = it.value();
        if (v.isString()) {
            store.setValue(key, v.toString());
        } else if (v.isBool()) {
            store.setValue(key, v.toBool());
        } else if (v.isDouble()) {
            const double d = std::nearbyint(v.toDouble());
            if (!(d >= -2147483648.0 && d <= 4294967295.0))
                throw PropertyStoreError(
                    QStringLiteral("Overflow: property \"%1\"").arg(key).toStdString());
            // A colour may be given as its unsigned value (&H8000000F as 2147483663).
            store.setValue(key, qint32(quint32(qint64(d))));
        } else if (v.isObject() && v.toObject().contains(QLatin1String("font"))) {
            const QJsonObject o = v.toObject().value(QLatin1String("font")).toObject();
            QFont font(o.value(QLatin1String("name")).toString());
            const double size = o.value(QLatin1String("size")).toDouble(9.0);
            if (size > 0) font.setPointSizeF(size);
            font.setBold(o.value(QLatin1String("bold")).toBool());
            font.setItalic(o.value(QLatin1String("italic")).toBool());
            font.setUnderline(o.value(QLatin1String("underline")).toBool());
            font.setStrikeOut(o.value(QLatin1String("strikethrough")).toBool());
            store.setValue(key, StoredFont{font, o.value(QLatin1String("charset")).toInt(1)});
        } else if (v.isObject() && v.toObject().contains(QLatin1String("picture"))) {
            const QJsonObject o = v.toObject().value(QLatin1String("picture")).toObject();
            StoredPicture p;
            p.png = QByteArray::fromBase64(o.value(QLatin1String("png")).toString().toLatin1());
            const QString type = o.value(QLatin1String("type")).toString();
            p.type = type == QLatin1String("icon")     ? XbPicture::Type::Icon
                     : type == QLatin1String("cursor") ? XbPicture::Type::Cursor
                                                       : XbPicture::Type::Bitmap;
            p.hotSpot = QPoint(o.value(QLatin1String("hotX")).toInt(),
                               o.value(QLatin1String("hotY")).toInt());
            store.setValue(key, p);
        } else {
            throw PropertyStoreError(QStringLiteral("Property \"%1\" has no value the store knows")
                                         .arg(key)
                                         .toStdString());
        }
    }
    return store;
}

}  // namespace orvello
