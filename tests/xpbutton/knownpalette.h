#pragma once
// A palette whose roles all differ, so that each system colour shows which role it took.
#include "xpbutton/xbcolor.h"

#include <QPalette>

namespace orvello::test {

// The palette the tests run under: every role the system colour table uses has its own colour.
inline QPalette knownPalette()
{
    QPalette p;
    p.setColor(QPalette::All, QPalette::Button, QColor(100, 120, 140));
    p.setColor(QPalette::All, QPalette::ButtonText, QColor(1, 2, 3));
    p.setColor(QPalette::All, QPalette::Base, QColor(250, 251, 252));
    p.setColor(QPalette::All, QPalette::Text, QColor(4, 5, 6));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(130, 131, 132));
    p.setColor(QPalette::All, QPalette::Highlight, QColor(10, 20, 30));
    p.setColor(QPalette::All, QPalette::HighlightedText, QColor(240, 241, 242));
    p.setColor(QPalette::All, QPalette::Window, QColor(220, 221, 222));
    p.setColor(QPalette::All, QPalette::WindowText, QColor(7, 8, 9));
    p.setColor(QPalette::All, QPalette::Dark, QColor(90, 91, 92));
    p.setColor(QPalette::All, QPalette::Light, QColor(253, 254, 255));
    p.setColor(QPalette::All, QPalette::Shadow, QColor(60, 61, 62));
    p.setColor(QPalette::All, QPalette::Midlight, QColor(200, 201, 202));
    p.setColor(QPalette::All, QPalette::ToolTipBase, QColor(255, 255, 200));
    p.setColor(QPalette::All, QPalette::ToolTipText, QColor(11, 12, 13));
    p.setColor(QPalette::All, QPalette::Link, QColor(0, 0, 150));
    return p;
}

// The RGB value of the known palette's button face, 0x8C7864.
inline constexpr OleColor kKnownButtonFace = 100 + 256 * 120 + 65536 * 140;

}  // namespace orvello::test
