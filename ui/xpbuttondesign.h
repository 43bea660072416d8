#pragma once
// The window's XPButtons as its design data stores them: each instance's property store under the
// control's persistence keys, restored by the control's own reading routine. In the design data a
// picture may name a file of the program's resources instead of holding its PNG data inline.
#include "ui/design.h"
#include "xpbutton/propertystore.h"

class QWidget;

namespace orvello {

class XPButton;

// The property store of a design entry ("properties"), with every picture that names a resource
// ("resource": path under ":/") filled in from that resource. A named resource that does not exist
// leaves the picture empty. Throws PropertyStoreError for a malformed entry.
PropertyStore designPropertyStore(const QJsonObject& properties);

// A button on parent with the entry's name and geometry, restored from its stored properties.
XPButton* createXPButton(const ControlDesign& item, QWidget* parent);

}  // namespace orvello
