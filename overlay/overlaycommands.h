#pragma once
// The overlay editing commands and the redraw conditions, as plain functions on AppSettings.
// Each command returns true when the caller must run DrawOverlay and then ShowPreview.
#include "app/settings.h"

#include <optional>

namespace orvello {

class Host;

inline constexpr double kNudgeStep = 0.5;     // percent of the canvas width or height
inline constexpr double kFontSizeStep = 0.1;  // percent of the base dimension

enum class OverlayCommand {
    TitleUp,       // XPButton5
    TitleDown,     // XPButton6
    TitleLeft,     // XPButton7
    TitleRight,    // XPButton8
    DateUp,        // XPButton9
    DateDown,      // XPButton10
    DateLeft,      // XPButton11
    DateRight,     // XPButton12
    Shrink,        // XPButton15
    ToggleItalic,  // XPButton16
    Enlarge,       // XPButton17
    ToggleBold,    // XPButton18
};

// The command of a button number (5 … 12 and 15 … 18); nothing for any other button.
std::optional<OverlayCommand> overlayCommandForButton(int xpButtonNumber);

// Without a photo the click does nothing and false comes back. Steps are added in double
// precision and stored back as 32-bit floats; the size stays within 0.1 … 100.
bool runOverlayCommand(OverlayCommand command, AppSettings& settings, bool photoLoaded);

// The text colour command (XPButton19): the colour dialog, starting on black; OK stores the
// colour as red + 256 × green + 65536 × blue. True whenever a photo is loaded, also after a
// cancel, because the redraw runs either way.
bool runTextColorCommand(AppSettings& settings, Host& host, bool photoLoaded);

// Check1 / Check2 clicked: the switch follows the box; true when the caller must redraw.
bool dateSwitchClicked(AppSettings& settings, bool checked, bool photoLoaded);
bool titleSwitchClicked(AppSettings& settings, bool checked, bool photoLoaded);
// Text1 changed: redraw exactly when the title is on, photo or not (without one, the title is
// drawn onto the empty silver canvas).
bool titleEditRedraws(const AppSettings& settings);
// A photo was shown or a rotation finished: DrawOverlay only when an item is on (otherwise
// clearCanvas); ShowPreview always.
bool photoShownDrawsOverlay(const AppSettings& settings);

}  // namespace orvello
