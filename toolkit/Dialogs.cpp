// Message boxes, the text-input box and the file-open dialog (GetOpenFileNameA, explorer style).
#include "toolkit/Dialogs.h"

#include <cderr.h>
#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/File.h"
#include "toolkit/Application.h"
#include "toolkit/Handles.h"
#include "toolkit/Layout.h"

namespace tk {

namespace {

// The window the user is working with, also while another program has the activation. The
// application window owns a box only when no window of the program is shown: a box disables
// its owner, and the taskbar button's window must stay enabled.
HWND BoxOwner() {
    if (HWND inUse = App().WindowInUse()) return inUse;
    if (HWND active = GetActiveWindow()) return active;
    return App().Handle();
}

// A box comes up with the program's windows: while the program is minimized it waits for the
// taskbar button to restore it. 0 when the program ends first.
int Box(const std::string& text, const std::string& caption, UINT flags, bool disableOthers) {
    ModalScope modal;
    if (!App().WaitUntilRestored()) return 0;
    const HWND active = GetActiveWindow();
    const HWND owner = BoxOwner();
    int result;
    {
        std::optional<OtherWindowsDisabled> disabled;
        if (disableOthers) disabled.emplace(owner);
        result = MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
    }
    if (disableOthers && active && IsWindow(active)) SetActiveWindow(active);
    return result;
}

}  // namespace

void ShowErrorBox(const std::string& text) { Box(text, "Error", MB_OK | MB_ICONERROR, false); }

void ShowMessage(const std::string& text) { Box(text, App().Title(), MB_OK, false); }

int ApplicationMessageBox(const std::string& text, const std::string& caption, UINT flags) {
    return Box(text, caption, flags, true);
}

std::string SystemErrorText(DWORD error) {
    OwnedLocal buffer;
    DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<LPSTR>(buffer.put()), 0, nullptr);
    if (length == 0 || !buffer) return "System error " + std::to_string(error) + ".";
    std::string text(static_cast<const char*>(buffer.get()), length);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text;
}

std::string FileCreateErrorText(const std::string& path, DWORD error) {
    return "Cannot create file \"" + path + "\". " + SystemErrorText(error);
}

void ShowFileCreateError(const std::string& path, DWORD error) {
    ShowErrorBox(FileCreateErrorText(path, error));
}

// --- InputBox ---------------------------------------------------------------------------------

namespace {

// Builds a dialog template in memory: WORD-aligned header, DWORD-aligned items.
class DialogTemplate {
public:
    DialogTemplate(DWORD style, DWORD exStyle, short cx, short cy, WORD pointSize, const char* font) {
        Dword(style);
        Dword(exStyle);
        countAt_ = words_.size();
        words_.push_back(0);  // item count, filled in as items are added
        Short(0);
        Short(0);
        Short(cx);
        Short(cy);
        words_.push_back(0);  // no menu
        words_.push_back(0);  // the dialog class
        Text("");             // title: set from ANSI text at WM_INITDIALOG
        words_.push_back(pointSize);
        Text(font);
    }

    void Item(WORD classAtom, const char* text, WORD id, DWORD style, DWORD exStyle, short x, short y,
              short cx, short cy) {
        if (words_.size() % 2) words_.push_back(0);
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(exStyle);
        Short(x);
        Short(y);
        Short(cx);
        Short(cy);
        words_.push_back(id);
        words_.push_back(0xFFFF);
        words_.push_back(classAtom);
        Text(text);
        words_.push_back(0);  // no creation data
        ++words_[countAt_];
    }

    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void Dword(DWORD d) {
        words_.push_back(LOWORD(d));
        words_.push_back(HIWORD(d));
    }
    void Short(short s) { words_.push_back(static_cast<WORD>(s)); }
    void Text(const char* ascii) {
        for (const char* p = ascii; *p; ++p) words_.push_back(static_cast<WORD>(static_cast<unsigned char>(*p)));
        words_.push_back(0);
    }

    std::vector<WORD> words_;
    size_t countAt_ = 0;
};

constexpr WORD kButton = 0x0080, kEdit = 0x0081, kStatic = 0x0082;

struct InputBoxState {
    const std::string* title;
    const std::string* prompt;
    int maxLength;
    std::string text;
};

INT_PTR CALLBACK InputBoxProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITDIALOG: {
        auto* state = reinterpret_cast<InputBoxState*>(lp);
        SetWindowLongPtrA(dlg, DWLP_USER, lp);
        SetWindowTextA(dlg, state->title->c_str());
        SetDlgItemTextA(dlg, InputBoxPromptId, state->prompt->c_str());
        SendDlgItemMessageA(dlg, InputBoxEditId, EM_LIMITTEXT, static_cast<WPARAM>(state->maxLength), 0);
        RECT r;
        GetWindowRect(dlg, &r);
        const POINT at = ScreenCentredOrigin(r.right - r.left, r.bottom - r.top);
        SetWindowPos(dlg, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        return TRUE;  // the focus goes to the edit field, the first tab stop
    }
    case WM_COMMAND: {
        WORD id = LOWORD(wp);
        if (id == IDOK) {
            auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrA(dlg, DWLP_USER));
            HWND edit = GetDlgItem(dlg, InputBoxEditId);
            int length = GetWindowTextLengthA(edit);
            try {
                std::string text(static_cast<size_t>(length) + 1, '\0');
                int got = GetWindowTextA(edit, text.data(), length + 1);
                text.resize(static_cast<size_t>(got));
                // Text put in from outside bypasses the edit's own limit.
                if (text.size() > static_cast<size_t>(state->maxLength)) text.resize(static_cast<size_t>(state->maxLength));
                state->text = std::move(text);
            } catch (...) {
                state->text.clear();
            }
            EndDialog(dlg, IDOK);
            return TRUE;
        }
        if (id == IDCANCEL) {
            EndDialog(dlg, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }
    default:
        return FALSE;
    }
}

}  // namespace

std::string InputBox(const std::string& title, const std::string& prompt, int maxLength) {
    if (maxLength < 0) maxLength = 0;
    // Sizes in dialog units of "MS Sans Serif" 8: a prompt line, the edit field, two buttons.
    DialogTemplate t(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, WS_EX_DLGMODALFRAME,
                     180, 63, 8, "MS Sans Serif");
    t.Item(kStatic, "", InputBoxPromptId, SS_LEFT | SS_NOPREFIX, 0, 8, 8, 164, 8);
    t.Item(kEdit, "", InputBoxEditId, ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 8, 19, 164, 12);
    t.Item(kButton, "OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 38, 41, 50, 14);
    t.Item(kButton, "Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 0, 92, 41, 50, 14);

    InputBoxState state{&title, &prompt, maxLength, {}};
    ModalScope modal;
    INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), t.get(), BoxOwner(), InputBoxProc,
                                             reinterpret_cast<LPARAM>(&state));
    return result == IDOK ? state.text : std::string();
}

// --- OpenDialog ------------------------------------------------------------------------------

namespace {

struct OptionName {
    const char* name;
    uint32_t option;
    DWORD flag;
};

const OptionName kOptions[] = {
    {"ofHideReadOnly", ofHideReadOnly, OFN_HIDEREADONLY},
    {"ofAllowMultiSelect", ofAllowMultiSelect, OFN_ALLOWMULTISELECT},
    {"ofEnableSizing", ofEnableSizing, OFN_ENABLESIZING},
};

bool IsAbsolute(const std::string& path) {
    return (path.size() >= 2 && path[1] == ':') || (path.size() >= 2 && path[0] == '\\' && path[1] == '\\');
}

// Room for hundreds of long names. A selection that needs more makes the dialog report the size
// it needs (FNERR_BUFFERTOOSMALL), and it is shown once more with that much.
constexpr size_t kFileBufferSize = 64 * 1024;

}  // namespace

OpenDialog::OpenDialog(Component* owner) : Component(owner) {}

DWORD OpenDialog::SystemFlags() const {
    DWORD flags = OFN_EXPLORER;
    for (const OptionName& o : kOptions) {
        if (Options & o.option) flags |= o.flag;
    }
    return flags;
}

bool OpenDialog::Execute(HWND owner) {
    files_.clear();
    if (!owner) owner = GetActiveWindow();
    if (!owner) owner = App().Handle();

    std::string filter = DialogFilter(Filter);
    size_t size = kFileBufferSize;
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::vector<char> buffer(size + 2, '\0');

        OPENFILENAMEA ofn{};
        ofn.lStructSize = sizeof(ofn);
        ofn.hwndOwner = owner;
        ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
        ofn.nFilterIndex = 1;
        ofn.lpstrFile = buffer.data();
        ofn.nMaxFile = static_cast<DWORD>(size);
        ofn.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
        ofn.Flags = SystemFlags();

        if (GetOpenFileNameA(&ofn)) {
            files_ = ParseOpenFileBuffer(buffer.data(), buffer.size());
            return true;
        }
        if (CommDlgExtendedError() != FNERR_BUFFERTOOSMALL) return false;
        // The dialog wrote the size it needs into the first two bytes.
        uint16_t needed = 0;
        std::memcpy(&needed, buffer.data(), sizeof(needed));
        size = std::max<size_t>(size * 2, size_t(needed) + 1);
    }
    return false;
}

std::string DialogFilter(std::string_view filter) {
    if (filter.empty()) return {};
    std::string out(filter);
    for (char& c : out) {
        if (c == '|') c = '\0';
    }
    out.push_back('\0');
    out.push_back('\0');  // c_str() adds the third, harmless
    return out;
}

std::vector<std::string> ParseOpenFileBuffer(const char* buffer, size_t size) {
    std::vector<std::string> parts;
    size_t i = 0;
    while (buffer && i < size && buffer[i] != '\0') {
        size_t j = i;
        while (j < size && buffer[j] != '\0') ++j;
        parts.emplace_back(buffer + i, j - i);
        i = j + 1;
    }
    if (parts.size() <= 1) return parts;  // one full path, or nothing
    const std::string folder = platform::WithTrailingSeparator(parts.front());
    std::vector<std::string> files;
    for (size_t k = 1; k < parts.size(); ++k) files.push_back(IsAbsolute(parts[k]) ? parts[k] : folder + parts[k]);
    return files;
}

const ClassInfo& OpenDialog::StaticInfo() {
    using C = OpenDialog;
    static const ClassInfo info{
        "TOpenDialog",
        &Component::StaticInfo(),
        {
            StrProperty<C>("Filter", &C::Filter, &C::Filter, ""),
            StrProperty<C>("InitialDir", &C::InitialDir, &C::InitialDir, ""),
            Property<C>(
                "Options",
                [](C& d, const LayoutValue& v) {
                    uint32_t options = 0;
                    for (const std::string& name : SetValue(v)) {
                        auto o = std::find_if(std::begin(kOptions), std::end(kOptions), [&](const OptionName& o) { return name == o.name; });
                        if (o == std::end(kOptions)) throw LayoutValueError("unknown option " + name);
                        options |= o->option;
                    }
                    d.Options = options;
                },
                [](const C& d) {
                    std::vector<std::string> names;
                    for (const OptionName& o : kOptions)
                        if (d.Options & o.option) names.push_back(o.name);
                    return LayoutValue::SetOf(std::move(names));
                },
                LayoutValue::SetOf({"ofHideReadOnly", "ofEnableSizing"})),
        },
        [](Component* owner) { return std::make_unique<OpenDialog>(owner); }};
    return info;
}

}  // namespace tk
