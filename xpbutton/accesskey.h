#pragma once
// The access key of an XPButton caption.
#include <QString>
#include <optional>

namespace orvello {

// The character after the last single "&" marker of caption ("&&" is a literal "&" and no
// marker), empty when that marker ends the text; nothing when the caption has no marker, in
// which case the access keys stay as they were.
std::optional<QString> accessKeyFromCaption(const QString& caption);

}  // namespace orvello
