#include "overlay/fontpicker.h"

#include "overlay/overlayfonts.h"

#include <algorithm>

namespace orvello {

FontPicker::FontPicker(int titleButtonTop, int dateButtonTop, int initialTop, FamilySource families)
    : titleButtonTop_(titleButtonTop),
      dateButtonTop_(dateButtonTop),
      families_(families ? std::move(families) : FamilySource(overlayFontFamilies)),
      left_(kLeftTwips),
      top_(initialTop)
{
}

int FontPicker::buttonTop(PickerTarget button) const
{
    return button == PickerTarget::Title ? titleButtonTop_ : dateButtonTop_;
}

std::optional<PickerTarget> FontPicker::target() const
{
    if (top_ == titleButtonTop_) return PickerTarget::Title;
    if (top_ == dateButtonTop_) return PickerTarget::Date;
    return std::nullopt;
}

void FontPicker::fontButtonClicked(PickerTarget button, const AppSettings& settings,
                                   bool photoLoaded)
{
    if (!photoLoaded) return;
    left_ = kLeftTwips;
    const int top = buttonTop(button);
    if (top_ != top) visible_ = false;  // it was serving the other item, or never placed
    top_ = top;
    entries_.clear();
    selected_ = -1;
    if (visible_) {
        visible_ = false;  // the same button again closes it
        return;
    }
    fill(button == PickerTarget::Title ? settings.addFont2 : settings.addFont);
    visible_ = true;
}

void FontPicker::fill(const QString& currentFace)
{
    int match = -1;
    for (const QString& name : families_()) {
        if (name.isEmpty() || name.startsWith(QLatin1Char('@')))
            continue;  // vertical-writing variants
        if (name == currentFace) match = static_cast<int>(entries_.size());
        entries_ << name;
    }
    selected_ = entries_.isEmpty() ? -1 : std::max(match, 0);
}

void FontPicker::selectRow(int row)
{
    if (row >= 0 && row < entries_.size()) selected_ = row;
}

QString FontPicker::selectedName() const
{
    return selected_ >= 0 && selected_ < entries_.size() ? entries_.at(selected_) : QString();
}

bool FontPicker::entryDoubleClicked(AppSettings& settings, bool photoLoaded)
{
    if (!photoLoaded || !visible_) return false;
    const QString name = selectedName();
    // An empty list has nothing to choose; keeping the face beats setting it to nothing.
    if (name.isEmpty()) return false;
    const std::optional<PickerTarget> serves = target();
    if (serves == PickerTarget::Title)
        settings.addFont2 = name;
    else if (serves == PickerTarget::Date)
        settings.addFont = name;
    visible_ = false;
    return true;
}

}  // namespace orvello
