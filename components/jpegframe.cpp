#include "components/jpegframe.h"

#include "components/jpeglibsupport.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace orvello {

namespace {

bool sameTable(const JHUFF_TBL* a, const JHUFF_TBL* b)
{
    if (std::memcmp(a->bits, b->bits, sizeof a->bits) != 0) return false;
    int count = 0;
    for (int i = 1; i <= 16; ++i) count += a->bits[i];
    return std::memcmp(a->huffval, b->huffval, size_t(std::min(count, 256))) == 0;
}

// A compressor set up with libjpeg's defaults, whose Huffman tables are the standard ones.
struct Scratch {
    jpeg_compress_struct info;
    JpegErrorManager err;
    bool created = false;
    ~Scratch()
    {
        if (created) jpeg_destroy_compress(&info);
    }
};

// The tables every encoder uses unless it counts the symbols first, from libjpeg's own defaults.
bool standardTables(Scratch& w, JHUFF_TBL* dc[2], JHUFF_TBL* ac[2])
{
    w.info.err = armJpegErrors(w.err);
    if (setjmp(w.err.jump)) return false;
    jpeg_create_compress(&w.info);
    w.created = true;
    w.info.in_color_space = JCS_YCbCr;
    w.info.input_components = 3;
    jpeg_set_defaults(&w.info);
    for (int i = 0; i < 2; ++i)
        dc[i] = w.info.dc_huff_tbl_ptrs[i], ac[i] = w.info.ac_huff_tbl_ptrs[i];
    return true;
}

bool hasOwnTables(const jpeg_decompress_struct& info)
{
    Scratch scratch;
    JHUFF_TBL *dc[2], *ac[2];
    if (!standardTables(scratch, dc, ac)) return true;
    const auto standard = [](const JHUFF_TBL* t, JHUFF_TBL* const* known) {
        return !t || sameTable(t, known[0]) || sameTable(t, known[1]);
    };
    for (int i = 0; i < NUM_HUFF_TBLS; ++i)
        if (!standard(info.dc_huff_tbl_ptrs[i], dc) || !standard(info.ac_huff_tbl_ptrs[i], ac))
            return true;
    return false;
}

struct Reader {
    jpeg_decompress_struct info;
    JpegErrorManager err;
    bool created = false;
    ~Reader()
    {
        if (created) jpeg_destroy_decompress(&info);
    }
};

// The libjpeg part: no C++ object with a destructor is made across the setjmp.
bool readHeader(Reader& r, const QByteArray& jpeg, JOCTET** icc, unsigned* iccSize)
{
    r.info.err = armJpegErrors(r.err);
    if (setjmp(r.err.jump)) return false;
    jpeg_create_decompress(&r.info);
    r.created = true;
    jpeg_mem_src(&r.info, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                 static_cast<unsigned long>(jpeg.size()));
    jpeg_save_markers(&r.info, JPEG_APP0 + 2, 0xFFFF);
    jpeg_read_header(&r.info, TRUE);
    if (!jpeg_read_icc_profile(&r.info, icc, iccSize)) *icc = nullptr;
    return true;
}

}  // namespace

JpegFrame readJpegFrame(const QByteArray& jpeg)
{
    JpegFrame f;
    Reader r;
    JOCTET* icc = nullptr;
    unsigned iccSize = 0;
    if (!readHeader(r, jpeg, &icc, &iccSize)) {
        f.error = QString::fromLocal8Bit(r.err.message);
        return f;
    }
    if (icc) {
        f.iccProfile = QByteArray(reinterpret_cast<const char*>(icc), qsizetype(iccSize));
        std::free(icc);
    }
    const jpeg_decompress_struct& info = r.info;
    // The encoders' default, square pixels of no stated size, says nothing worth keeping: an EXIF
    // resolution may then stand.
    const bool stated = info.density_unit != 0 || info.X_density != info.Y_density;
    if (info.saw_JFIF_marker && stated && info.X_density > 0 && info.Y_density > 0)
        f.density = {info.density_unit, info.X_density, info.Y_density};
    f.width = int(info.image_width);
    f.height = int(info.image_height);
    for (int c = 0; c < info.num_components; ++c)
        f.sampling << JpegFrame::Sampling{info.comp_info[c].h_samp_factor,
                                          info.comp_info[c].v_samp_factor};
    f.colour = info.num_components == 3 &&
               (info.jpeg_color_space == JCS_YCbCr || info.jpeg_color_space == JCS_RGB);
    f.progressive = info.progressive_mode;
    f.arithmetic = info.arith_code;
    f.optimized = !f.progressive && !f.arithmetic && hasOwnTables(info);
    f.restartInterval = info.restart_interval;
    return f;
}

}  // namespace orvello
