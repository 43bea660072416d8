#include "overlay/overlaycommands.h"

#include "host/host.h"
#include "overlay/overlay.h"

#include <algorithm>

namespace orvello {

std::optional<OverlayCommand> overlayCommandForButton(int n)
{
    switch (n) {
    case 5: return OverlayCommand::TitleUp;
    case 6: return OverlayCommand::TitleDown;
    case 7: return OverlayCommand::TitleLeft;
    case 8: return OverlayCommand::TitleRight;
    case 9: return OverlayCommand::DateUp;
    case 10: return OverlayCommand::DateDown;
    case 11: return OverlayCommand::DateLeft;
    case 12: return OverlayCommand::DateRight;
    case 15: return OverlayCommand::Shrink;
    case 16: return OverlayCommand::ToggleItalic;
    case 17: return OverlayCommand::Enlarge;
    case 18: return OverlayCommand::ToggleBold;
    default: return std::nullopt;
    }
}

namespace {

void step(float& field, double delta)
{
    field = static_cast<float>(double(field) + delta);
}

// A size step never leaves the drawable range; a stored size outside it comes back in on the
// first click, to the value that was being drawn anyway.
void stepSize(float& size, double delta)
{
    const double next = double(size) + delta;
    if (!(next >= double(kMinFontSize)))  // also NaN
        size = kMinFontSize;
    else if (next > double(kMaxFontSize))
        size = kMaxFontSize;
    else
        size = static_cast<float>(next);
}

}  // namespace

bool runOverlayCommand(OverlayCommand command, AppSettings& s, bool photoLoaded)
{
    if (!photoLoaded) return false;
    switch (command) {
    case OverlayCommand::TitleUp: step(s.addCurrentY2, -kNudgeStep); break;
    case OverlayCommand::TitleDown: step(s.addCurrentY2, kNudgeStep); break;
    case OverlayCommand::TitleLeft: step(s.addCurrentX2, -kNudgeStep); break;
    case OverlayCommand::TitleRight: step(s.addCurrentX2, kNudgeStep); break;
    case OverlayCommand::DateUp: step(s.addCurrentY, -kNudgeStep); break;
    case OverlayCommand::DateDown: step(s.addCurrentY, kNudgeStep); break;
    case OverlayCommand::DateLeft: step(s.addCurrentX, -kNudgeStep); break;
    case OverlayCommand::DateRight: step(s.addCurrentX, kNudgeStep); break;
    case OverlayCommand::Shrink: stepSize(s.addFontSize, -kFontSizeStep); break;
    case OverlayCommand::Enlarge: stepSize(s.addFontSize, kFontSizeStep); break;
    case OverlayCommand::ToggleItalic: s.addFontItalic = !s.addFontItalic; break;
    case OverlayCommand::ToggleBold: s.addFontBold = !s.addFontBold; break;
    }
    return true;
}

bool runTextColorCommand(AppSettings& s, Host& host, bool photoLoaded)
{
    if (!photoLoaded) return false;
    // The dialog opens on the colour in use, which is what the user means to change.
    const quint32 bgr = static_cast<quint32>(s.addForeColor);
    const QColor current(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
    if (const std::optional<QColor> chosen = host.chooseColor(current);
        chosen && chosen->isValid()) {
        const QRgb rgb = chosen->rgb();
        s.addForeColor = static_cast<qint32>(qRed(rgb) + 256 * qGreen(rgb) + 65536 * qBlue(rgb));
    }
    return true;
}

bool dateSwitchClicked(AppSettings& s, bool checked, bool photoLoaded)
{
    s.addDTB = checked;
    return photoLoaded;
}

bool titleSwitchClicked(AppSettings& s, bool checked, bool photoLoaded)
{
    s.addTXB = checked;
    return photoLoaded;
}

bool titleEditRedraws(const AppSettings& s)
{
    return s.addTXB;
}

bool photoShownDrawsOverlay(const AppSettings& s)
{
    return s.addDTB || s.addTXB;
}

}  // namespace orvello
