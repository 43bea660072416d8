#include "components/heiflibrary.h"

#include <dlfcn.h>

namespace orvello {

namespace {

struct Loaded {
    HeifLibrary functions;
    QString error;
    bool ok = false;
};

Loaded load()
{
    Loaded l;
    // The name the library's package installs it under, for the major version built against.
    const QByteArray file = "libheif.so." + QByteArray::number(LIBHEIF_NUMERIC_VERSION >> 24);
    void* handle = dlopen(file.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        l.error = QString::fromLocal8Bit(dlerror());
        return l;
    }
#define ORVELLO_HEIF_RESOLVE(name)                                                               \
    l.functions.name = reinterpret_cast<decltype(&::heif_##name)>(dlsym(handle, "heif_" #name)); \
    if (!l.functions.name) {                                                                     \
        l.error = QStringLiteral("%1 has no heif_" #name).arg(QString::fromLocal8Bit(file));     \
        return l;                                                                                \
    }
    ORVELLO_HEIF_FUNCTIONS(ORVELLO_HEIF_RESOLVE)
#undef ORVELLO_HEIF_RESOLVE
    // Registers the built-in decoders.
    l.functions.init(nullptr);
    l.ok = true;
    return l;
}

const Loaded& loaded()
{
    static const Loaded l = load();
    return l;
}

}  // namespace

const HeifLibrary* heifLibrary()
{
    return loaded().ok ? &loaded().functions : nullptr;
}

QString heifLibraryError()
{
    return loaded().error;
}

}  // namespace orvello
