#pragma once
// What every libjpeg caller here shares: how the library's errors are handled, and how a copy's
// header is written (density, metadata segments, colour profile), whichever encoder makes it.
#include "components/jpegwriter.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace orvello {

// An error leaves the library through longjmp to the caller's setjmp on jump, with the
// library's text kept in message; warnings are not printed (damage is reported by the error, or
// not at all). A function that arms jump must keep no C++ object with a destructor across it.
struct JpegErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

// Sets err up; returns what a libjpeg object's err field takes.
jpeg_error_mgr* armJpegErrors(JpegErrorManager& err);

// Before jpeg_start_compress or jpeg_write_coefficients, once the frame's colour space is set:
// the JFIF header with options' density, on a YCbCr or grey frame only.
void setJpegDensity(jpeg_compress_struct* cinfo, const JpegOptions& options);
// Right after them: options' segments, then its colour profile.
void writeJpegMarkers(jpeg_compress_struct* cinfo, const JpegOptions& options);

}  // namespace orvello
