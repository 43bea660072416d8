#pragma once
// The copy of a JPEG photo stamped without compressing it again ("无损", --lossless): the photo's
// blocks are carried over and only those under the stamps are encoded again. A photo that cannot
// be copied that way is left to the full re-encode, with a line saying why.
#include "batch/stampbatch.h"

#include <QString>
#include <atomic>
#include <optional>

namespace orvello {

// Stamps item's copy losslessly. Empty when the full re-encode must make the copy instead: then
// *notice holds why, for the output line, or nothing when that is the rule for the photo (not a
// JPEG, or damaged, which the full re-encode reports as it always has).
std::optional<StampOutcome> stampLosslessCopy(const StampItem& item, const StampRecipe& recipe,
                                              const std::atomic<bool>* cancel, QString* notice);

}  // namespace orvello
