#include "imaging/colourprofile.h"

#include "components/jpeglibsupport.h"

#include <cstdlib>
#include <cstring>

namespace orvello {

namespace {

// The libjpeg part: no C++ object with a destructor lives across the setjmp.
void readHeader(const QByteArray& jpeg, JOCTET** icc, unsigned* iccSize, PixelDensity* density)
{
    jpeg_decompress_struct cinfo;
    JpegErrorManager err;
    cinfo.err = armJpegErrors(err);
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                 static_cast<unsigned long>(jpeg.size()));
    jpeg_save_markers(&cinfo, JPEG_APP0 + 2, 0xFFFF);
    if (jpeg_read_header(&cinfo, TRUE) == JPEG_HEADER_OK) {
        // The encoders' default, square pixels of no stated size, says nothing worth keeping:
        // an EXIF resolution may then stand.
        const bool stated = cinfo.density_unit != 0 || cinfo.X_density != cinfo.Y_density;
        if (cinfo.saw_JFIF_marker && stated && cinfo.X_density > 0 && cinfo.Y_density > 0)
            *density = {cinfo.density_unit, cinfo.X_density, cinfo.Y_density};
        if (!jpeg_read_icc_profile(&cinfo, icc, iccSize)) *icc = nullptr;
    }
    jpeg_destroy_decompress(&cinfo);
}

}  // namespace

JpegHeaderFacts readJpegHeaderFacts(const QByteArray& jpeg)
{
    JpegHeaderFacts facts;
    JOCTET* icc = nullptr;
    unsigned iccSize = 0;
    readHeader(jpeg, &icc, &iccSize, &facts.density);
    if (icc) {
        facts.iccProfile = QByteArray(reinterpret_cast<const char*>(icc), qsizetype(iccSize));
        std::free(icc);
    }
    return facts;
}

bool isRgbProfile(const QByteArray& icc)
{
    // The header's data colour space signature, at byte 16 of the 128-byte header.
    return icc.size() >= 128 && std::memcmp(icc.constData() + 16, "RGB ", 4) == 0;
}

}  // namespace orvello
