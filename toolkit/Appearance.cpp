// Colours, cursors and fonts.
#include "toolkit/Appearance.h"

#include <map>
#include <tuple>
#include <utility>

#include "toolkit/Handles.h"

namespace tk {

// --- Colours ---------------------------------------------------------------------------------

COLORREF ColorToRGB(Color c) {
    if ((c & 0xFF000000) == clSystemColor) return GetSysColor(static_cast<int>(c & 0xFF));
    return c & 0xFFFFFF;
}

namespace {
const std::pair<const char*, Color> kColorNames[] = {
    {"clBlue", clBlue}, {"clWindow", clWindow}, {"clWindowText", clWindowText}, {"clBtnFace", clBtnFace}};
}  // namespace

std::string ColorName(Color c) {
    for (const auto& [name, value] : kColorNames)
        if (value == c) return name;
    return {};
}

bool ColorFromName(const std::string& name, Color& out) {
    for (const auto& [n, value] : kColorNames) {
        if (name != n) continue;
        out = value;
        return true;
    }
    return false;
}

// --- Cursors and fonts -----------------------------------------------------------------------

HCURSOR CursorHandle(Cursor c) { return c == crHandPoint ? LoadCursorA(nullptr, IDC_HAND) : nullptr; }

HFONT FontHandle(const Font& font) {
    // One handle per distinct font for the whole run; the handles are never freed before exit.
    using Key = std::tuple<std::string, int, bool, bool, bool>;
    static std::map<Key, OwnedFont> cache;
    Key key{font.name, font.size, font.bold, font.italic, font.underline};
    auto it = cache.find(key);
    if (it != cache.end()) return it->second.get();
    int dpi = 96;
    {
        WindowDc screen(nullptr);
        if (screen.get()) dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
    }
    LOGFONTA lf{};
    lf.lfHeight = -MulDiv(font.size, dpi, 72);
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.italic;
    lf.lfUnderline = font.underline;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynA(lf.lfFaceName, font.name.c_str(), LF_FACESIZE);
    HFONT h = CreateFontIndirectA(&lf);
    if (!h) h = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    else cache.emplace(key, OwnedFont(h));
    return h;
}

HFONT DefaultFont() {
    static HFONT font = FontHandle(Font{});
    return font;
}

}  // namespace tk
