#pragma once
// The font picker List2 as a state model: the window shows a list box that mirrors it (left, top,
// entries, selected row, visible) and passes the clicks on.
#include "app/settings.h"

#include <QStringList>
#include <functional>
#include <optional>

namespace orvello {

enum class PickerTarget { Title, Date };  // XPButton13 sets addFont2, XPButton14 sets addFont

class FontPicker {
public:
    static constexpr int kLeftTwips = 7950;
    static constexpr int kWidthTwips = 2535;
    static constexpr int kHeightTwips = 2370;

    using FamilySource = std::function<QStringList()>;

    // The tops of the two font buttons, in twips; which item the picker serves is read from its
    // own top. initialTop is where the list stands before any button placed it. families gives
    // the face names each time the list is filled (by default overlayFontFamilies()).
    FontPicker(int titleButtonTop, int dateButtonTop, int initialTop = 0,
               FamilySource families = {});

    // XPButton13 (Title) or XPButton14 (Date) clicked: opens the picker for that item, closes it
    // when it is already open for that item, re-targets it when it is open for the other one.
    // When the picker opens the window should let pending events run before showing it.
    void fontButtonClicked(PickerTarget button, const AppSettings& settings, bool photoLoaded);

    // A single click: only the selection moves.
    void selectRow(int row);

    // A double click on the selected entry: sets the face of the item the picker serves and
    // closes the picker. True when a face was chosen; the caller then redraws (DrawOverlay,
    // ShowPreview) and hides the list.
    bool entryDoubleClicked(AppSettings& settings, bool photoLoaded);

    bool isVisible() const { return visible_; }
    int left() const { return left_; }
    int top() const { return top_; }
    const QStringList& entries() const { return entries_; }
    int selectedRow() const { return selected_; }  // -1: nothing selected
    QString selectedName() const;
    // The item the picker serves, read from its top; nothing when it stands by neither button.
    std::optional<PickerTarget> target() const;

private:
    int buttonTop(PickerTarget button) const;
    void fill(const QString& currentFace);

    int titleButtonTop_;
    int dateButtonTop_;
    FamilySource families_;
    int left_;
    int top_;
    bool visible_ = false;
    QStringList entries_;
    int selected_ = -1;
};

}  // namespace orvello
