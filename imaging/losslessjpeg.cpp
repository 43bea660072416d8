#include "imaging/losslessjpeg.h"

#include "components/jpegframe.h"
#include "components/jpeglibsupport.h"

#include <QCoreApplication>
#include <QPoint>
#include <QStringList>
#include <algorithm>
#include <cstring>
#include <new>

// After jpeglib.h, which it needs.
#include <jerror.h>
#include <openssl/evp.h>

namespace orvello::lossless {

namespace {

// Every libjpeg call below runs in a function that armed jump with setjmp and keeps no C++ object
// with a destructor across it. Damage in the source stops the transform, which reports it.
using ErrorManager = JpegErrorManager;

QString detail(const ErrorManager& err)
{
    return QString::fromLocal8Bit(err.message);
}

// A growing buffer the compressor writes into; a failed allocation is a libjpeg error.
struct ByteDestination {
    jpeg_destination_mgr base;
    QByteArray bytes;
    qsizetype expected = 0;  // the size to start with, when known: growing copies what is there
};

// Resizes the buffer; false when memory ran out. The caller raises libjpeg's error outside the
// handler: jumping out of a catch block would skip the exception's clean-up.
bool resized(QByteArray& bytes, qsizetype size)
{
    try {
        bytes.resize(size);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

void initBytes(j_compress_ptr cinfo)
{
    auto* d = reinterpret_cast<ByteDestination*>(cinfo->dest);
    if (!resized(d->bytes, std::max<qsizetype>(d->expected, 1 << 16)))
        ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
    d->base.next_output_byte = reinterpret_cast<JOCTET*>(d->bytes.data());
    d->base.free_in_buffer = size_t(d->bytes.size());
}

boolean growBytes(j_compress_ptr cinfo)
{
    auto* d = reinterpret_cast<ByteDestination*>(cinfo->dest);
    const qsizetype used = d->bytes.size();
    if (!resized(d->bytes, used * 2)) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
    d->base.next_output_byte = reinterpret_cast<JOCTET*>(d->bytes.data()) + used;
    d->base.free_in_buffer = size_t(d->bytes.size() - used);
    return TRUE;
}

void endBytes(j_compress_ptr cinfo)
{
    auto* d = reinterpret_cast<ByteDestination*>(cinfo->dest);
    d->bytes.resize(d->bytes.size() - qsizetype(d->base.free_in_buffer));
}

void attach(j_compress_ptr cinfo, ByteDestination& dest)
{
    dest.base.init_destination = initBytes;
    dest.base.empty_output_buffer = growBytes;
    dest.base.term_destination = endBytes;
    cinfo->dest = &dest.base;
}

// A libjpeg decompressor or compressor with its error manager, destroyed once created.
template <typename Info>
struct Codec {
    Info info;
    ErrorManager err;
    bool created = false;
    Codec() { info.err = armJpegErrors(err); }
    ~Codec()
    {
        if (created) jpeg_destroy(reinterpret_cast<j_common_ptr>(&info));
    }
};

using Reader = Codec<jpeg_decompress_struct>;

struct Writer : Codec<jpeg_compress_struct> {
    ByteDestination dest;
};

bool readHeader(Reader& r, const QByteArray& jpeg)
{
    if (setjmp(r.err.jump)) return false;
    jpeg_create_decompress(&r.info);
    r.created = true;
    jpeg_mem_src(&r.info, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                 static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&r.info, TRUE);
    return true;
}

void maxSampling(const jpeg_decompress_struct& info, int* h, int* v)
{
    *h = *v = 1;
    for (int c = 0; c < info.num_components; ++c) {
        *h = std::max(*h, info.comp_info[c].h_samp_factor);
        *v = std::max(*v, info.comp_info[c].v_samp_factor);
    }
}

// A compressor of a size-pixel picture in the frame of tables' JPEG: its colour space, sampling
// and quantization tables. Called with w's jump armed.
void startLike(Writer& w, Reader& tables, QSize size)
{
    jpeg_create_compress(&w.info);
    w.created = true;
    w.info.in_color_space = tables.info.jpeg_color_space;
    w.info.input_components = tables.info.num_components;
    jpeg_copy_critical_parameters(&tables.info, &w.info);
    w.info.image_width = JDIMENSION(size.width());
    w.info.image_height = JDIMENSION(size.height());
    attach(&w.info, w.dest);
}

bool compressPiece(Writer& w, Reader& tables, const QImage& piece)
{
    if (setjmp(w.err.jump)) return false;
    startLike(w, tables, piece.size());
    w.info.in_color_space = JCS_EXT_BGRX;  // QImage's 0xffRRGGBB on a little-endian machine
    w.info.input_components = 4;
    w.info.dct_method = JDCT_ISLOW;
    w.info.write_JFIF_header = FALSE;
    jpeg_start_compress(&w.info, TRUE);
    while (w.info.next_scanline < w.info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(piece.constScanLine(int(w.info.next_scanline)));
        jpeg_write_scanlines(&w.info, &row, 1);
    }
    jpeg_finish_compress(&w.info);
    return true;
}

bool readPieceBlocks(Reader& r, const QByteArray& jpeg, QPoint offset,
                     std::vector<PlaneBlocks>* planes)
{
    if (!readHeader(r, jpeg)) return false;
    if (setjmp(r.err.jump)) return false;
    jvirt_barray_ptr* arrays = jpeg_read_coefficients(&r.info);
    int hmax = 1, vmax = 1;
    maxSampling(r.info, &hmax, &vmax);
    for (int c = 0; c < r.info.num_components; ++c) {
        const jpeg_component_info& comp = r.info.comp_info[c];
        PlaneBlocks& plane = (*planes)[size_t(c)];
        plane.blockX = offset.x() / (8 * hmax) * comp.h_samp_factor;
        plane.blockY = offset.y() / (8 * vmax) * comp.v_samp_factor;
        plane.blocksWide = int(comp.width_in_blocks);
        plane.blocksHigh = int(comp.height_in_blocks);
        plane.coefficients.resize(size_t(comp.width_in_blocks) * comp.height_in_blocks *
                                  kBlockCoefficients);
        short* to = plane.coefficients.data();
        for (JDIMENSION row = 0; row < comp.height_in_blocks; ++row) {
            JBLOCKARRAY from = (*r.info.mem->access_virt_barray)(
                reinterpret_cast<j_common_ptr>(&r.info), arrays[c], row, 1, FALSE);
            std::memcpy(to, from[0], size_t(comp.width_in_blocks) * sizeof(JBLOCK));
            to += size_t(comp.width_in_blocks) * kBlockCoefficients;
        }
    }
    jpeg_finish_decompress(&r.info);
    return true;
}

}  // namespace

SourceFacts sourceFactsOf(const JpegFrame& frame)
{
    SourceFacts f;
    f.error = frame.error;
    if (!frame.ok()) return f;
    f.width = frame.width;
    f.height = frame.height;
    f.components = int(frame.sampling.size());
    f.colour = frame.colour;
    int hmax = 1, vmax = 1;
    QStringList factors;
    for (const JpegFrame::Sampling& s : frame.sampling) {
        hmax = std::max(hmax, s.h);
        vmax = std::max(vmax, s.v);
        factors << QStringLiteral("%1x%2").arg(s.h).arg(s.v);
    }
    f.sampling = factors.join(QLatin1Char(','));
    f.mcuWidth = 8 * hmax;
    f.mcuHeight = 8 * vmax;
    f.progressive = frame.progressive;
    f.arithmetic = frame.arithmetic;
    f.optimized = frame.optimized;
    f.restartInterval = frame.restartInterval;
    return f;
}

SourceFacts readSourceFacts(const QByteArray& jpeg)
{
    return sourceFactsOf(readJpegFrame(jpeg));
}

std::vector<PlaneBlocks> encodePiece(const QImage& piece, QPoint offset,
                                     const QByteArray& tablesFrom, QString* error)
{
    const QImage rgb32 = piece.convertToFormat(QImage::Format_RGB32);
    Reader tables;
    if (!readHeader(tables, tablesFrom)) {
        *error = detail(tables.err);
        return {};
    }
    Writer w;
    if (!compressPiece(w, tables, rgb32)) {
        *error = detail(w.err);
        return {};
    }
    std::vector<PlaneBlocks> planes(size_t(tables.info.num_components));
    Reader back;
    if (!readPieceBlocks(back, w.dest.bytes, offset, &planes)) {
        *error = detail(back.err);
        return {};
    }
    return planes;
}

std::vector<PlaneBlocks> readBlocks(const QByteArray& jpeg, QPoint offset, QString* error)
{
    Reader r;
    std::vector<PlaneBlocks> planes(MAX_COMPONENTS);
    if (!readPieceBlocks(r, jpeg, offset, &planes)) {
        *error = detail(r.err);
        return {};
    }
    planes.resize(size_t(r.info.num_components));
    return planes;
}

void replaceBlocks(short* row, int component, int blockRow, int blocks,
                   const std::vector<std::vector<PlaneBlocks>>& pieces,
                   std::vector<std::vector<PlaneBlocks>>* displaced)
{
    for (size_t i = 0; i < pieces.size(); ++i) {
        const PlaneBlocks& p = pieces[i][size_t(component)];
        const int y = blockRow - p.blockY;
        if (y < 0 || y >= p.blocksHigh) continue;
        const int count = std::min(p.blocksWide, blocks - p.blockX);
        if (count <= 0) continue;
        short* at = row + size_t(p.blockX) * kBlockCoefficients;
        const size_t from = size_t(y) * size_t(p.blocksWide) * kBlockCoefficients;
        const size_t bytes = size_t(count) * kBlockCoefficients * sizeof(short);
        if (displaced)
            std::memcpy((*displaced)[i][size_t(component)].coefficients.data() + from, at, bytes);
        std::memcpy(at, p.coefficients.data() + from, bytes);
    }
}

namespace {

// SHA-256 fed in parts; a failed step leaves an empty digest, which matches none.
class Sha256 {
public:
    Sha256() : context_(EVP_MD_CTX_new())
    {
        ok_ = context_ && EVP_DigestInit_ex(context_, EVP_sha256(), nullptr) == 1;
    }
    ~Sha256() { EVP_MD_CTX_free(context_); }
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;
    void add(const void* data, size_t size)
    {
        ok_ = ok_ && EVP_DigestUpdate(context_, data, size) == 1;
    }
    QByteArray result()
    {
        unsigned char digest[EVP_MAX_MD_SIZE];
        unsigned int size = 0;
        ok_ = ok_ && EVP_DigestFinal_ex(context_, digest, &size) == 1;
        return ok_ ? QByteArray(reinterpret_cast<const char*>(digest), qsizetype(size))
                   : QByteArray();
    }

private:
    EVP_MD_CTX* context_;
    bool ok_ = false;
};

}  // namespace

QByteArray blocksDigest(const std::vector<std::vector<PlaneBlocks>>& pieces)
{
    Sha256 hash;
    for (const std::vector<PlaneBlocks>& piece : pieces)
        for (const PlaneBlocks& p : piece) {
            const qint32 place[4] = {p.blockX, p.blockY, p.blocksWide, p.blocksHigh};
            hash.add(place, sizeof place);
            hash.add(p.coefficients.data(), p.coefficients.size() * sizeof(short));
        }
    return hash.result();
}

QByteArray sha256(QByteArrayView bytes)
{
    Sha256 hash;
    hash.add(bytes.data(), size_t(bytes.size()));
    return hash.result();
}

// The compressor reads each row where the transform keeps it instead of from a copy: a second
// set of coefficient arrays cost a third of the time of a 24-megapixel photo, most of it in
// faulting in fresh memory. Its array handles are the addresses of `planes`, which its memory
// manager's access method, replaced here, answers with the rows handed over.
struct CoefficientWriter::State {
    Writer w;
    Reader tables;
    std::vector<JBLOCKROW> planes[MAX_COMPONENTS];  // each row, as handed over; null until then
    jvirt_barray_ptr arrays[MAX_COMPONENTS] = {};
    QSize blocks[MAX_COMPONENTS];
    int rows[MAX_COMPONENTS] = {};  // rows of each plane, whole MCU rows
    long missing = 0;               // rows not handed over yet
    JBLOCKARRAY(*libraryAccess)
    (j_common_ptr, jvirt_barray_ptr, JDIMENSION, JDIMENSION, boolean) = nullptr;

    jvirt_barray_ptr handle(int c) { return reinterpret_cast<jvirt_barray_ptr>(&planes[c]); }
    static JBLOCKARRAY access(j_common_ptr cinfo, jvirt_barray_ptr array, JDIMENSION start,
                              JDIMENSION count, boolean writable)
    {
        auto* s = static_cast<State*>(cinfo->client_data);
        for (int c = 0; c < MAX_COMPONENTS; ++c) {
            if (array != s->handle(c)) continue;
            const std::vector<JBLOCKROW>& rows = s->planes[c];
            if (size_t(start) + count > rows.size()) ERREXIT(cinfo, JERR_BAD_VIRTUAL_ACCESS);
            for (JDIMENSION r = start; r < start + count; ++r)
                if (!rows[r]) ERREXIT(cinfo, JERR_BAD_VIRTUAL_ACCESS);
            return const_cast<JBLOCKARRAY>(rows.data() + start);
        }
        return s->libraryAccess(cinfo, array, start, count, writable);
    }
};

CoefficientWriter::CoefficientWriter() : state_(std::make_unique<State>()) {}
CoefficientWriter::~CoefficientWriter() = default;

namespace {

bool openCopy(Writer& w, Reader& tables, const jvirt_barray_ptr* arrays, QSize* blocks, int* rows,
              QSize size, const SourceFacts& f, const JpegOptions& markers)
{
    if (setjmp(w.err.jump)) return false;
    startLike(w, tables, size);
    w.info.optimize_coding = f.optimized;
    w.info.arith_code = f.arithmetic;
    w.info.restart_interval = f.restartInterval;
    if (f.progressive) jpeg_simple_progression(&w.info);
    setJpegDensity(&w.info, markers);
    int hmax = 1, vmax = 1;
    for (int c = 0; c < w.info.num_components; ++c) {
        hmax = std::max(hmax, w.info.comp_info[c].h_samp_factor);
        vmax = std::max(vmax, w.info.comp_info[c].v_samp_factor);
    }
    // The planes as the encoder will lay them out: whole MCUs, each component's share of them.
    for (int c = 0; c < w.info.num_components; ++c) {
        const jpeg_component_info& comp = w.info.comp_info[c];
        const auto roundUp = [](long a, long b) { return (a + b - 1) / b; };
        const long wide = roundUp(long(size.width()) * comp.h_samp_factor, 8L * hmax);
        const long high = roundUp(long(size.height()) * comp.v_samp_factor, 8L * vmax);
        blocks[c] = QSize(int(wide), int(high));
        rows[c] = int(roundUp(high, comp.v_samp_factor) * comp.v_samp_factor);
    }
    jpeg_write_coefficients(&w.info, const_cast<jvirt_barray_ptr*>(arrays));
    writeJpegMarkers(&w.info, markers);
    return true;
}

bool finishCopy(Writer& w)
{
    if (setjmp(w.err.jump)) return false;
    jpeg_finish_compress(&w.info);
    return true;
}

}  // namespace

bool CoefficientWriter::open(const QByteArray& tablesFrom, QSize size, const SourceFacts& source,
                             const JpegOptions& markers, qsizetype expectedBytes)
{
    State& s = *state_;
    s.w.dest.expected = expectedBytes;
    if (!readHeader(s.tables, tablesFrom)) {
        error_ = detail(s.tables.err);
        return false;
    }
    // The compressor keeps the list itself, not a copy of it.
    for (int c = 0; c < MAX_COMPONENTS; ++c) s.arrays[c] = s.handle(c);
    if (s.tables.info.num_components > MAX_COMPONENTS ||
        !openCopy(s.w, s.tables, s.arrays, s.blocks, s.rows, size, source, markers)) {
        error_ = detail(s.w.err);
        return false;
    }
    s.w.info.client_data = &s;
    s.libraryAccess = s.w.info.mem->access_virt_barray;
    s.w.info.mem->access_virt_barray = State::access;
    for (int c = 0; c < s.w.info.num_components; ++c) {
        s.planes[c].assign(size_t(s.rows[c]), nullptr);
        s.missing += s.rows[c];
    }
    return true;
}

QSize CoefficientWriter::planeBlocks(int component) const
{
    return component >= 0 && component < state_->w.info.num_components ? state_->blocks[component]
                                                                       : QSize();
}

bool CoefficientWriter::putRow(int component, int blockRow, const short* coefficients)
{
    // Rows past the plane fill out its last MCU row; the transform hands them over too.
    const QSize plane = planeBlocks(component);
    const int rows = state_->rows[component];
    if (blockRow < 0 || blockRow >= rows) {
        error_ = QCoreApplication::translate("imaging", "系数行超出范围");
        return false;
    }
    JBLOCKROW& row = state_->planes[component][size_t(blockRow)];
    if (!row) --state_->missing;
    row = reinterpret_cast<JBLOCKROW>(const_cast<short*>(coefficients));
    return true;
}

bool CoefficientWriter::complete() const
{
    return state_->missing == 0;
}

bool CoefficientWriter::finish(QByteArray* jpeg)
{
    if (!finishCopy(state_->w)) {
        error_ = detail(state_->w.err);
        return false;
    }
    *jpeg = std::move(state_->w.dest.bytes);
    return true;
}

}  // namespace orvello::lossless
