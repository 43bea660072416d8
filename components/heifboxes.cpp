#include "components/heifboxes.h"

#include "components/hevcsps.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>

namespace orvello {

namespace {

// Big-endian fields read from a view; reading past its end sets failed and yields zeros.
class Reader {
public:
    explicit Reader(QByteArrayView bytes) : view(bytes) {}

    bool failed = false;

    quint64 get(int bytes)
    {
        if (bytes > view.size() - at) {
            failed = true;
            at = view.size();
            return 0;
        }
        quint64 v = 0;
        for (int i = 0; i < bytes; ++i) v = (v << 8) | uchar(view[at++]);
        return v;
    }

    QByteArrayView take(quint64 bytes)
    {
        if (bytes > quint64(view.size() - at)) {
            failed = true;
            at = view.size();
            return {};
        }
        const QByteArrayView part = view.sliced(at, qsizetype(bytes));
        at += qsizetype(bytes);
        return part;
    }

    QByteArrayView rest() const { return view.sliced(at); }
    bool atEnd() const { return at >= view.size(); }

private:
    QByteArrayView view;
    qsizetype at = 0;
};

struct Box {
    QByteArray type;
    QByteArrayView payload;
};

// The boxes laid one after another in a view. A box running past the end is cut at the end, as
// a file cut short still holds its first boxes whole.
QList<Box> boxesIn(QByteArrayView bytes)
{
    QList<Box> out;
    Reader r(bytes);
    while (!r.atEnd()) {
        const QByteArrayView start = r.rest();
        quint64 size = r.get(4);
        const QByteArrayView type = r.take(4);
        qsizetype header = 8;
        if (size == 1) {
            size = r.get(8);
            header = 16;
        } else if (size == 0) {
            size = quint64(start.size());
        }
        if (r.failed || size < quint64(header)) break;
        const qsizetype whole = qsizetype(std::min<quint64>(size, quint64(start.size())));
        out.append({type.toByteArray(), start.sliced(header, whole - header)});
        r.take(quint64(whole - header));
    }
    return out;
}

struct Extent {
    quint64 offset = 0, length = 0;  // a length of 0 reaches to the end of its source
};

struct Item {
    QByteArray type;
    bool located = false;
    int method = 0;  // 0: offsets in the file, 1: in the idat box
    quint64 base = 0;
    QList<Extent> extents;
    QList<int> properties;  // indices into the property list
};

QString unreadable(const QByteArray& box)
{
    return QCoreApplication::translate("components", "%1 盒子无法读取")
        .arg(QString::fromLatin1(box));
}

// The item structure of the file's meta box.
class Meta {
public:
    explicit Meta(QByteArrayView file) : file(file)
    {
        for (const Box& top : boxesIn(file)) {
            if (top.type != "meta") continue;
            if (top.payload.size() < 4) error = unreadable(top.type);
            for (const Box& b :
                 boxesIn(top.payload.sliced(std::min<qsizetype>(4, top.payload.size())))) {
                if (!error.isEmpty()) break;
                if (b.type == "pitm")
                    readPitm(b);
                else if (b.type == "iinf")
                    readIinf(b);
                else if (b.type == "iloc")
                    readIloc(b);
                else if (b.type == "iref")
                    readIref(b);
                else if (b.type == "iprp")
                    readIprp(b);
                else if (b.type == "idat")
                    idat = b.payload;
            }
            break;
        }
        if (error.isEmpty() && !hasPrimary)
            error = QCoreApplication::translate("components", "找不到主图像");
    }

    QString error;
    quint32 primary = 0;
    bool hasPrimary = false;
    QHash<quint32, Item> items;
    QList<Box> properties;
    QHash<quint32, QList<quint32>> derivedFrom;  // an image and those it is built from
    QHash<quint32, QList<quint32>> auxiliaries;  // an image and its alpha and depth images

    // The item's bytes as the decoder will get them, cut at the end of their source.
    QByteArray dataOf(const Item& item) const
    {
        const QByteArrayView source = item.method == 1 ? idat : file;
        QByteArray out;
        for (const Extent& e : item.extents) {
            const quint64 start = item.base + e.offset;
            if (start < item.base || start >= quint64(source.size())) continue;
            const quint64 room = quint64(source.size()) - start;
            const quint64 length = e.length == 0 ? room : std::min(e.length, room);
            const QByteArrayView part = source.sliced(qsizetype(start), qsizetype(length));
            if (item.extents.size() == 1) return QByteArray::fromRawData(part.data(), part.size());
            out += part;
        }
        return out;
    }

    QByteArrayView property(const Item& item, const char* type) const
    {
        for (const int i : item.properties)
            if (properties[i].type == type) return properties[i].payload;
        return {};
    }

private:
    void readPitm(const Box& b)
    {
        Reader r(b.payload);
        const int version = int(r.get(1));
        r.get(3);
        primary = quint32(r.get(version == 0 ? 2 : 4));
        hasPrimary = !r.failed;
        if (r.failed) error = unreadable(b.type);
    }

    void readIinf(const Box& b)
    {
        Reader r(b.payload);
        const int version = int(r.get(1));
        r.get(3);
        r.get(version == 0 ? 2 : 4);  // the count: the entries are read as they come
        if (r.failed) error = unreadable(b.type);
        for (const Box& e : boxesIn(r.rest())) {
            if (e.type != "infe") continue;
            Reader infe(e.payload);
            const int v = int(infe.get(1));
            infe.get(3);
            if (v < 2) continue;  // the oldest entries name no item type: no image
            const quint32 id = quint32(infe.get(v == 2 ? 2 : 4));
            infe.get(2);  // protection index
            const QByteArrayView type = infe.take(4);
            if (infe.failed) {
                error = unreadable(e.type);
                return;
            }
            items[id].type = type.toByteArray();
        }
    }

    void readIloc(const Box& b)
    {
        Reader r(b.payload);
        const int version = int(r.get(1));
        r.get(3);
        const quint64 sizes = r.get(2);
        const int offsetSize = int(sizes >> 12), lengthSize = int((sizes >> 8) & 15);
        const int baseSize = int((sizes >> 4) & 15), indexSize = version > 0 ? int(sizes & 15) : 0;
        const quint64 count = r.get(version < 2 ? 2 : 4);
        for (quint64 i = 0; i < count && !r.failed; ++i) {
            const quint32 id = quint32(r.get(version < 2 ? 2 : 4));
            Item& item = items[id];
            item.located = true;
            item.method = version > 0 ? int(r.get(2) & 15) : 0;
            const quint64 reference = r.get(2);
            item.base = r.get(baseSize);
            const quint64 extents = r.get(2);
            item.extents.clear();
            for (quint64 e = 0; e < extents && !r.failed; ++e) {
                r.get(indexSize);
                const quint64 offset = r.get(offsetSize);
                item.extents.append({offset, r.get(lengthSize)});
            }
            // Data in another file or inside another item: libheif reads neither.
            if (reference != 0 || item.method > 1) item.located = false;
        }
        if (r.failed || offsetSize > 8 || lengthSize > 8 || baseSize > 8 || indexSize > 8)
            error = unreadable(b.type);
    }

    void readIref(const Box& b)
    {
        Reader r(b.payload);
        const int idSize = r.get(1) == 0 ? 2 : 4;
        r.get(3);
        for (const Box& ref : boxesIn(r.rest())) {
            Reader refs(ref.payload);
            const quint32 from = quint32(refs.get(idSize));
            const quint64 count = refs.get(2);
            for (quint64 i = 0; i < count && !refs.failed; ++i) {
                const quint32 to = quint32(refs.get(idSize));
                if (ref.type == "dimg") derivedFrom[from].append(to);
                if (ref.type == "auxl") auxiliaries[to].append(from);
            }
            if (refs.failed) error = unreadable(ref.type);
        }
    }

    void readIprp(const Box& b)
    {
        for (const Box& part : boxesIn(b.payload)) {
            if (part.type == "ipco") properties += boxesIn(part.payload);
            if (part.type != "ipma") continue;
            Reader r(part.payload);
            const int version = int(r.get(1));
            const bool wide = r.get(3) & 1;
            const quint64 entries = r.get(4);
            for (quint64 i = 0; i < entries && !r.failed; ++i) {
                const quint32 id = quint32(r.get(version < 1 ? 2 : 4));
                const int count = int(r.get(1));
                for (int a = 0; a < count; ++a) {
                    const int index = int(r.get(wide ? 2 : 1) & (wide ? 0x7FFF : 0x7F));
                    // Index 0 names no property; one past the list is the file's own fault.
                    if (index > 0 && index <= properties.size())
                        items[id].properties.append(index - 1);
                }
            }
            if (r.failed) error = unreadable(part.type);
        }
    }

    QByteArrayView file;
    QByteArrayView idat;
};

// The NAL units an HEVC item hands its decoder: those of its configuration box, then those of its
// data, each after a length field of the size the configuration gives.
bool collectNals(QByteArrayView hvcC, QByteArrayView data, QList<QByteArrayView>& nals)
{
    Reader r(hvcC);
    r.take(21);
    const int lengthSize = int(r.get(1) & 3) + 1;
    const int arrays = int(r.get(1));
    for (int a = 0; a < arrays && !r.failed; ++a) {
        r.get(1);
        const int count = int(r.get(2));
        for (int i = 0; i < count && !r.failed; ++i) nals.append(r.take(r.get(2)));
    }
    if (r.failed) return false;
    Reader d(data);
    while (!d.atEnd()) {
        const quint64 length = d.get(lengthSize);
        // A unit cut short by the end of the data still reaches the decoder as far as it goes.
        const QByteArrayView rest = d.rest();
        nals.append(rest.first(qsizetype(std::min<quint64>(length, quint64(rest.size())))));
        d.take(std::min<quint64>(length, quint64(rest.size())));
    }
    return true;
}

}  // namespace

HeifPictures heifPictures(QByteArrayView file)
{
    HeifPictures out;
    const Meta meta(file);
    if (!meta.error.isEmpty()) {
        out.error = meta.error;
        return out;
    }
    QList<quint32> pending{meta.primary};
    QSet<quint32> seen;
    while (!pending.isEmpty()) {
        const quint32 id = pending.takeLast();
        if (seen.contains(id) || !meta.items.contains(id)) continue;
        seen.insert(id);
        const Item& item = meta.items[id];
        pending += meta.derivedFrom.value(id);
        pending += meta.auxiliaries.value(id);

        HeifPicture p;
        p.item = id;
        p.type = item.type;
        Reader ispe(meta.property(item, "ispe"));
        ispe.get(4);
        p.declaredWidth = qint64(ispe.get(4));
        p.declaredHeight = qint64(ispe.get(4));
        if (ispe.failed) p.declaredWidth = p.declaredHeight = 0;
        const QByteArray data = item.located ? meta.dataOf(item) : QByteArray();

        if (item.type == "hvc1") {
            QList<QByteArrayView> nals;
            if (!collectNals(meta.property(item, "hvcC"), data, nals)) {
                out.error =
                    QCoreApplication::translate("components", "图像 %1 的 HEVC 配置无法读取")
                        .arg(id);
                return out;
            }
            bool any = false;
            for (const QByteArrayView nal : nals) {
                if (!isHevcSps(nal)) continue;
                const std::optional<HevcPictureFormat> sps = readHevcSps(nal);
                if (!sps) {
                    out.error =
                        QCoreApplication::translate("components", "图像 %1 的 HEVC 参数集无法读取")
                            .arg(id);
                    return out;
                }
                p.width = sps->width, p.height = sps->height, p.bitDepth = sps->bitDepth;
                out.pictures.append(p);
                any = true;
            }
            if (!any) {
                out.error =
                    QCoreApplication::translate("components", "图像 %1 没有 HEVC 参数集").arg(id);
                return out;
            }
        } else if (item.type == "grid" || item.type == "iovl") {
            // version, flags (bit 0: 32-bit sizes), then for a grid its rows and columns, for an
            // overlay its canvas colour; then the output size.
            Reader r(data);
            r.get(1);
            const int size = (r.get(1) & 1) ? 4 : 2;
            r.get(item.type == "grid" ? 2 : 8);
            p.width = qint64(r.get(size));
            p.height = qint64(r.get(size));
            if (r.failed) {
                out.error =
                    QCoreApplication::translate("components", "图像 %1 的拼接数据无法读取").arg(id);
                return out;
            }
            out.pictures.append(p);
        }
    }
    return out;
}

}  // namespace orvello
