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

// A button on parent with the entry's name and geometry, restored from its stored properties,
// and shown as the default button while it holds the focus.
XPButton* createXPButton(const ControlDesign& item, QWidget* parent);

// The window's side of the control's "display as default" notice, which Qt has no ambient
// property for: a command button taking the keyboard focus is shown as the window's default
// button (the look's focus rings), and loses that look when the focus moves to another control.
// The window losing activation (a dialog opening) leaves it: the focus comes back to the button.
void showAsDefaultWhileFocused(XPButton* button);

}  // namespace orvello
