#pragma once
// The copy of a JPEG photo stamped without compressing it again ("无损", --lossless): the photo's
// blocks are carried over and only those under the stamps are encoded again. A photo that cannot
// be copied that way is left to the full re-encode, with a line saying why.
#include "batch/stampbatch.h"
#include "components/imagefile.h"

#include <QString>
#include <atomic>
#include <optional>

namespace orvello {

// The EXIF orientation (1 … 8) stored in a photo's listed items; 1 when there is none.
int storedOrientation(const ImageFile* items);

// Stamps item's copy losslessly. Empty when the full re-encode must make the copy instead: then
// *notice holds why, for the output line, or nothing when that is the rule for the photo (not a
// JPEG, or damaged, which the full re-encode reports as it always has).
std::optional<StampOutcome> stampLosslessCopy(const StampItem& item, const StampRecipe& recipe,
                                              const std::atomic<bool>* cancel, QString* notice);

}  // namespace orvello
