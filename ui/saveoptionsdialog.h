#pragma once
// The options dialog of "全部保存…": keep the EXIF, the JPEG quality, stamping without
// re-compressing. Shown by QtHost.
#include "host/host.h"

#include <optional>

class QWidget;

namespace orvello {

std::optional<SaveAllOptions> runSaveAllOptionsDialog(QWidget* owner,
                                                      const SaveAllOptions& initial);

}  // namespace orvello
