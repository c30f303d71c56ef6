// Message boxes and the text-input box.
#include "toolkit/Dialogs.h"

#include "toolkit/Application.h"
#include "toolkit/Handles.h"

#include <optional>
#include <vector>

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

}  // namespace tk
