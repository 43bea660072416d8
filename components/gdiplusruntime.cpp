#include "components/gdiplusruntime.h"

#include "components/exivguard.h"

#include <turbojpeg.h>
#include <QImageReader>
#include <exiv2/exiv2.hpp>

namespace orvello {

QByteArrayList GdiPlusRuntime::requiredFormats()
{
    return {"jpeg", "tiff"};
}

GdiPlusRuntime::GdiPlusRuntime(QByteArrayList formats) : formats_(std::move(formats)) {}

bool GdiPlusRuntime::Initialise()
{
    try {
        const ExivLock lock;
        if (!Exiv2::XmpParser::initialize()) return false;
    } catch (...) {
        return false;
    }
    tjhandle decoder = tjInitDecompress();
    if (!decoder) return false;
    tjDestroy(decoder);
    const QList<QByteArray> available = QImageReader::supportedImageFormats();
    for (const QByteArray& format : formats_)
        if (!available.contains(format)) return false;
    running_ = true;
    return true;
}

void GdiPlusRuntime::Shutdown()
{
    if (!running_) return;
    const ExivLock lock;
    Exiv2::XmpParser::terminate();
    running_ = false;
}

}  // namespace orvello
