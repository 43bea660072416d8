#pragma once
// The window as a screen reader meets it: a name for every control whose caption alone does not
// say what it does (the two rotate buttons share theirs; the nudge buttons show one character),
// the list, the text boxes and the preview; and the frame's two caption buttons as buttons with
// a press action.
class QWidget;

namespace orvello {

// Names the controls of the main window, found by their design names; and, once per process,
// lets Qt's accessibility layer see the frame's caption buttons and picture boxes.
void nameForScreenReaders(QWidget& window);

}  // namespace orvello
