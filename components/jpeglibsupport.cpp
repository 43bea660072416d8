#include "components/jpeglibsupport.h"

namespace orvello {

namespace {

void onError(j_common_ptr info)
{
    auto* err = reinterpret_cast<JpegErrorManager*>(info->err);
    err->base.format_message(info, err->message);
    std::longjmp(err->jump, 1);
}

void onMessage(j_common_ptr, int) {}

}  // namespace

jpeg_error_mgr* armJpegErrors(JpegErrorManager& err)
{
    jpeg_std_error(&err.base);
    err.base.error_exit = onError;
    err.base.emit_message = onMessage;
    err.message[0] = 0;
    return &err.base;
}

void setJpegDensity(jpeg_compress_struct* cinfo, const JpegOptions& options)
{
    // JFIF promises YCbCr (or grey): on an RGB, CMYK or YCCK frame it would make every decoder
    // read the samples as YCbCr. Such frames keep the Adobe marker libjpeg writes for them.
    const J_COLOR_SPACE space = cinfo->jpeg_color_space;
    cinfo->write_JFIF_header = space == JCS_YCbCr || space == JCS_GRAYSCALE;
    if (!cinfo->write_JFIF_header || !options.density.isSet()) return;
    cinfo->density_unit = UINT8(options.density.unit);
    cinfo->X_density = UINT16(options.density.x);
    cinfo->Y_density = UINT16(options.density.y);
}

void writeJpegMarkers(jpeg_compress_struct* cinfo, const JpegOptions& options)
{
    for (const JpegSegment& s : options.segments)
        jpeg_write_marker(cinfo, s.marker, reinterpret_cast<const JOCTET*>(s.payload.constData()),
                          unsigned(s.payload.size()));
    if (!options.iccProfile.isEmpty())
        jpeg_write_icc_profile(cinfo,
                               reinterpret_cast<const JOCTET*>(options.iccProfile.constData()),
                               unsigned(options.iccProfile.size()));
}

}  // namespace orvello
