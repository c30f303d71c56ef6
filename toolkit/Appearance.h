// How controls look: colours (and their layout names), cursors and fonts.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace tk {

// Colours are COLORREF values (0x00BBGGRR) or, with the high byte 0xFF, a system colour index.
using Color = uint32_t;
inline constexpr Color clSystemColor = 0xFF000000;
inline constexpr Color clWindowText = clSystemColor | COLOR_WINDOWTEXT;
inline constexpr Color clBtnFace = clSystemColor | COLOR_BTNFACE;
inline constexpr Color clWindow = clSystemColor | COLOR_WINDOW;
inline constexpr Color clBlue = 0xFF0000;
COLORREF ColorToRGB(Color c);
// Layout names of colours ("clBtnFace", "clBlue"...): the name, or "" when it has none.
std::string ColorName(Color c);
bool ColorFromName(const std::string& name, Color& out);

// Cursors by their stored numbers.
using Cursor = int;
inline constexpr Cursor crDefault = 0;
inline constexpr Cursor crHandPoint = -21;
HCURSOR CursorHandle(Cursor c);  // nullptr for crDefault

// Font of a control. Every window uses "MS Sans Serif" 8 pt unless a control says otherwise.
struct Font {
    std::string name = "MS Sans Serif";
    int size = 8;  // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    Color color = clWindowText;
    bool operator==(const Font&) const = default;
};
// Shared font handles, made once per distinct font and kept for the life of the program.
HFONT FontHandle(const Font& font);
// The default font of every window ("MS Sans Serif" 8 pt, 11 pixels high).
HFONT DefaultFont();

}  // namespace tk
