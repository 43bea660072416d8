#pragma once
// libheif, loaded the first time a HEIF file is opened rather than at every start: with the
// codecs it brings in it is a sixth of the libraries a start would load, and few runs meet a HEIF
// file. Only its declarations are used at build time.
#include <libheif/heif.h>
#include <QString>

// The functions Orvello calls, by their names without the "heif_" prefix.
#define ORVELLO_HEIF_FUNCTIONS(X)                  \
    X(init)                                        \
    X(check_filetype)                              \
    X(context_alloc)                               \
    X(context_free)                                \
    X(context_set_maximum_image_size_limit)        \
    X(context_read_from_memory_without_copy)       \
    X(context_get_primary_image_handle)            \
    X(image_handle_release)                        \
    X(image_handle_get_list_of_metadata_block_IDs) \
    X(image_handle_get_metadata_size)              \
    X(image_handle_get_metadata)                   \
    X(image_handle_get_metadata_content_type)      \
    X(image_handle_get_luma_bits_per_pixel)        \
    X(image_handle_get_chroma_bits_per_pixel)      \
    X(image_handle_has_alpha_channel)              \
    X(image_handle_get_width)                      \
    X(image_handle_get_height)                     \
    X(decoding_options_alloc)                      \
    X(decoding_options_free)                       \
    X(decode_image)                                \
    X(image_release)                               \
    X(image_get_decoding_warnings)                 \
    X(image_get_primary_width)                     \
    X(image_get_primary_height)                    \
    X(image_get_plane)                             \
    X(image_is_premultiplied_alpha)

namespace orvello {

struct HeifLibrary {
#define ORVELLO_HEIF_MEMBER(name) decltype(&::heif_##name) name = nullptr;
    ORVELLO_HEIF_FUNCTIONS(ORVELLO_HEIF_MEMBER)
#undef ORVELLO_HEIF_MEMBER
};

// The library, loaded and initialised once per process (never unloaded: other threads may still
// be decoding when the program ends). Null when it cannot be loaded or lacks a function; then
// heifLibraryError() says why.
const HeifLibrary* heifLibrary();
QString heifLibraryError();

}  // namespace orvello
