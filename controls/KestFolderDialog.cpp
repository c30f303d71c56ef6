// TKestFolderDialog: the shell's folder browser with a New-folder button, a status line and localised texts.
#include "controls/KestFolderDialog.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <exception>
#include <memory>

#include "controls/ShortenPath.h"
#include "platform/CodePage.h"
#include "toolkit/Application.h"
#include "toolkit/Control.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Form.h"
#include "toolkit/Layout.h"

namespace {

constexpr int kStatusLimit = 50;

bool DirectoryExists(const std::string& path) {
    if (path.empty()) return false;
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// UTF-16 from a text of the code page; empty for a text that is not valid in it.
std::wstring StrictlyWide(const std::string& text, UINT codePage) {
    const int size = static_cast<int>(text.size());
    int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (n <= 0) return {};
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), n);
    return wide;
}

// An item's path and display name, asked in UTF-16: a path Windows accepts may take more than
// the ANSI calls' MAX_PATH bytes in the program's code page.
std::string PathOfItem(LPCITEMIDLIST item) {
    wchar_t path[MAX_PATH + 1] = {};
    if (!item || !SHGetPathFromIDListW(item, path)) return {};
    return platform::Narrow(path);
}

std::string DisplayNameOf(LPCITEMIDLIST item) {
    SHFILEINFOW file{};
    if (!SHGetFileInfoW(reinterpret_cast<LPCWSTR>(item), 0, &file, sizeof file,
                        SHGFI_PIDL | SHGFI_DISPLAYNAME | SHGFI_TYPENAME))
        return {};
    return platform::Narrow(file.szDisplayName);
}

bool IsDirectory(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Length of the root that must already exist: "C:\" or "\\server\share\"; 0 when the path is
// not fully qualified (a folder made from it would land in the current directory).
size_t RootLength(const std::wstring& path) {
    if (path.size() >= 3 && path[0] < 0x80 && std::isalpha(path[0]) && path[1] == L':' &&
        path[2] == L'\\')
        return 3;
    if (path.size() > 2 && path[0] == L'\\' && path[1] == L'\\') {
        size_t server = path.find(L'\\', 2);
        if (server == std::wstring::npos || server == 2) return 0;
        size_t share = path.find(L'\\', server + 1);
        if (share == std::wstring::npos) return 0;  // nothing to create below the share
        if (share == server + 1) return 0;
        return share + 1;
    }
    return 0;
}

// Bytes of the character that starts at `i` of an ANSI text in that code page.
size_t CharSize(const std::string& text, size_t i, UINT codePage) {
    return IsDBCSLeadByteEx(codePage, static_cast<BYTE>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

// Windows drops trailing spaces and dots from a name: a folder made under such a name would not
// be the one typed, and one of spaces only would not be made at all.
bool IsNameWindowsChanges(char last) { return last == ' ' || last == '.'; }

// The caption tables are in the system's legacy code page, which the program's own (UTF-8 under
// its manifest) may not be: converted where they meet a window, never in the tables.
std::string Shown(const std::string& caption) { return platform::FromLegacyCodePage(caption); }

template <typename F>
void Guarded(F&& f) {
    // Exceptions never cross the shell's callback or a window procedure.
    try {
        f();
    } catch (const std::exception& e) {
        tk::App().HandleException(e);
    } catch (...) {
        tk::App().HandleException();
    }
}

const char* const kFlagNames[kBrowseInfoFlagCount] = {
    "OnlyComputers", "OnlyPrinters", "OnlyDomains", "OnlyAncestors", "OnlyFileSystem", "ShowPath",
};
const UINT kFlagBits[kBrowseInfoFlagCount] = {
    BIF_BROWSEFORCOMPUTER, BIF_BROWSEFORPRINTER, BIF_DONTGOBELOWDOMAIN,
    BIF_RETURNFSANCESTORS, BIF_RETURNONLYFSDIRS, BIF_STATUSTEXT,
};

const char* const kFolderNames[kShellFolderCount] = {
    "foDesktop",     "foDesktopExpanded", "foPrograms",  "foControlPanel",        "foPrinters",
    "foPersonal",    "foFavorites",       "foStartup",   "foRecent",              "foSendto",
    "foRecycleBin",  "foStartMenu",       "foDesktopFolder", "foMyComputer",      "foNetwork",
    "foNetworkNeighborhood", "foFonts",   "foTemplates",
};
const int kFolderIds[kShellFolderCount] = {
    CSIDL_DESKTOP,  -1,          CSIDL_PROGRAMS,  CSIDL_CONTROLS,         CSIDL_PRINTERS,
    CSIDL_PERSONAL, CSIDL_FAVORITES, CSIDL_STARTUP, CSIDL_RECENT,         CSIDL_SENDTO,
    CSIDL_BITBUCKET, CSIDL_STARTMENU, CSIDL_DESKTOPDIRECTORY, CSIDL_DRIVES, CSIDL_NETWORK,
    CSIDL_NETHOOD,  CSIDL_FONTS, CSIDL_TEMPLATES,
};

TStringList ListFromLayout(const tk::LayoutValue& v) {
    TStringList list;
    list.SetLines(tk::ListValue(v));
    return list;
}

}  // namespace

UINT BrowseInfoFlagBits(TBrowseInfoFlagSet flags) {
    UINT bits = 0;
    for (int i = 0; i < kBrowseInfoFlagCount; ++i)
        if (flags.Contains(static_cast<TBrowseInfoFlags>(i))) bits |= kFlagBits[i];
    return bits;
}

int ShellFolderId(TSHFolders folder) {
    int i = static_cast<int>(folder);
    return i >= 0 && i < kShellFolderCount ? kFolderIds[i] : -1;
}

NewFolderButtonPlacement PlaceNewFolderButton(int dpi, int clientHeight, int captionHeight) {
    NewFolderButtonPlacement p{};
    switch (dpi) {
    case 72:
    case 96: p = {12, clientHeight - 36, 75, 23, 0}; break;
    case 120: p = {15, clientHeight - 45, 93, 28, 0}; break;
    case 144: p = {17, clientHeight - 56, 112, 35, 0}; break;
    case 192: p = {20, clientHeight - 66, 150, 41, 0}; break;
    default:
        p = {dpi * 12 / 96, clientHeight - captionHeight - 17, dpi * 75 / 96, dpi * 23 / 96, 0};
        break;
    }
    p.minWidth = dpi == 72 ? 75 : dpi * 75 / 96;
    return p;
}

std::string NewFolderPath(const std::string& parent, const std::string& name, UINT codePage) {
    // Walked by character: the last byte of 表 in code page 932 is a backslash, and taking it
    // for one would make the folder beside the parent instead of in it.
    bool parentEndsWithSeparator = false;
    for (size_t i = 0; i < parent.size(); i += CharSize(parent, i, codePage))
        parentEndsWithSeparator = parent[i] == '\\' && i + 1 == parent.size();
    char last = '\\';  // last character of the current part of the name
    for (size_t i = 0; i < name.size(); i += CharSize(name, i, codePage)) {
        const bool single = CharSize(name, i, codePage) == 1;
        if (single && name[i] == '\\' && IsNameWindowsChanges(last)) return {};
        last = single ? name[i] : 'x';
    }
    if (name.empty() || IsNameWindowsChanges(last)) return {};
    // The name is used as typed; a drive root already ends with the separator.
    if (name.front() != '\\' && !parentEndsWithSeparator) return parent + "\\" + name;
    return parent + name;
}

bool ForceDirectories(const std::string& path, UINT codePage) {
    // In UTF-16 every backslash is a character of its own. A text that is no valid text of the
    // code page names no folder.
    const std::wstring wide = StrictlyWide(path, codePage);
    size_t root = RootLength(wide);
    if (root == 0) return false;
    // A colon past the drive can never name a folder here.
    if (wide.find(L':', 2) != std::wstring::npos) return false;
    for (size_t i = root; i <= wide.size(); ++i) {
        if (i < wide.size() && wide[i] != L'\\') continue;
        if (wide[i - 1] == L'\\') continue;  // an empty part: nothing to make
        std::wstring level = wide.substr(0, i);
        if (IsDirectory(level)) continue;
        if (!CreateDirectoryW(level.c_str(), nullptr) && !IsDirectory(level)) return false;
    }
    return IsDirectory(wide);
}

// --- Construction and published properties ----------------------------------------------------

TKestFolderDialog::TKestFolderDialog(tk::Component* owner) : tk::Component(owner) {
    languageKey_ = ::LanguageKey(GetSystemDefaultLangID());
    newFolderCaptions_.OnChange = [this] { NewFolderCaptionsChanged(); };
    newFolderCaptions_.SetCommaText(kBuiltInNewFolderCaptions);
    labelCaptions_.OnChange = [this] { LabelCaptionsChanged(); };
    labelCaptions_.SetCommaText(kBuiltInLabelCaptions);
}

TKestFolderDialog::~TKestFolderDialog() {
    newFolderCaptions_.OnChange = nullptr;
    labelCaptions_.OnChange = nullptr;
}

const tk::ClassInfo& TKestFolderDialog::StaticInfo() {
    using Self = TKestFolderDialog;
    using tk::LayoutValue;
    static const tk::ClassInfo info = [] {
        tk::ClassInfo ci;
        ci.name = "TKestFolderDialog";
        ci.base = &tk::Component::StaticInfo();
        ci.create = [](tk::Component* owner) { return std::make_unique<Self>(owner); };

        ci.properties.push_back(tk::StrProperty<Self>("Folder", &Self::Folder, &Self::Folder, ""));

        // A set without a declared default: always stored.
        ci.properties.push_back(tk::Property<Self>(
            "Flags",
            [](Self& c, const LayoutValue& v) {
                TBrowseInfoFlagSet flags;
                for (const std::string& name : tk::SetValue(v)) {
                    auto it = std::find(std::begin(kFlagNames), std::end(kFlagNames), name);
                    if (it == std::end(kFlagNames)) throw tk::LayoutValueError("unknown flag " + name);
                    flags.Include(static_cast<TBrowseInfoFlags>(it - std::begin(kFlagNames)));
                }
                c.Flags = flags;
            },
            [](const Self& c) {
                std::vector<std::string> names;
                for (int i = 0; i < kBrowseInfoFlagCount; ++i)
                    if (c.Flags.Contains(static_cast<TBrowseInfoFlags>(i))) names.push_back(kFlagNames[i]);
                return LayoutValue::SetOf(std::move(names));
            }));

        ci.properties.push_back(tk::Property<Self>(
            "RootFolder",
            [](Self& c, const LayoutValue& v) {
                const std::string& name = tk::IdentValue(v);
                auto it = std::find(std::begin(kFolderNames), std::end(kFolderNames), name);
                if (it == std::end(kFolderNames)) throw tk::LayoutValueError("unknown root folder " + name);
                c.RootFolder = static_cast<TSHFolders>(it - std::begin(kFolderNames));
            },
            [](const Self& c) { return LayoutValue::Id(kFolderNames[static_cast<int>(c.RootFolder)]); },
            LayoutValue::Id("foDesktopExpanded")));

        ci.properties.push_back(
            tk::BoolProperty<Self>("NewFolderVisible", &Self::NewFolderVisible, &Self::SetNewFolderVisible, true));
        ci.properties.push_back(
            tk::BoolProperty<Self>("NewFolderEnabled", &Self::NewFolderEnabled, &Self::SetNewFolderEnabled, true));

        // The events are set in code: no form publishes handlers of these kinds by name, so a
        // layout can neither store nor name them.
        for (const char* name : {"OnInitialized", "OnSelectionChanged"}) {
            ci.properties.push_back(tk::Property<Self>(
                name,
                [name](Self&, const LayoutValue&) {
                    throw tk::LayoutValueError(std::string(name) + " is set in code, not in a layout");
                },
                [](const Self&) { return LayoutValue::Id(""); }, std::nullopt,
                [](const Self&) { return false; }));
        }

        ci.properties.push_back(tk::Property<Self>(
            "LabelCaptions.Strings",
            [](Self& c, const LayoutValue& v) { c.SetLabelCaptions(ListFromLayout(v)); },
            [](const Self& c) { return LayoutValue::ListOf(c.LabelCaptions().Lines()); }, std::nullopt,
            [](const Self& c) { return c.LabelCaptionsStored(); }));
        ci.properties.push_back(tk::Property<Self>(
            "NewFolderCaptions.Strings",
            [](Self& c, const LayoutValue& v) { c.SetNewFolderCaptions(ListFromLayout(v)); },
            [](const Self& c) { return LayoutValue::ListOf(c.NewFolderCaptions().Lines()); }, std::nullopt,
            [](const Self& c) { return c.NewFolderCaptionsStored(); }));

        ci.properties.push_back(tk::StrProperty<Self>("Version", &Self::Version, &Self::SetVersion, std::nullopt,
                                                      [](const Self&) { return false; }));
        return ci;
    }();
    return info;
}

void TKestFolderDialog::Register() {
    static const bool registered = (tk::RegisterClass(StaticInfo()), true);
    (void)registered;
}

namespace {
// Known to the layout reader from the start (the registry is built on first use).
[[maybe_unused]] const bool kClassRegistered = (TKestFolderDialog::Register(), true);
}  // namespace

void TKestFolderDialog::Loaded() {
    tk::Component::Loaded();
    NewFolderCaptionsChanged();
    LabelCaptionsChanged();
}

void TKestFolderDialog::SetNewFolderVisible(bool visible) {
    if (visible == newFolderVisible_) return;
    newFolderVisible_ = visible;
    if (IsWindow(newFolderButton_)) ShowWindow(newFolderButton_, visible ? SW_SHOW : SW_HIDE);
}

void TKestFolderDialog::SetNewFolderEnabled(bool enabled) {
    newFolderEnabled_ = enabled;
    if (IsWindow(newFolderButton_)) EnableWindow(newFolderButton_, enabled && selectionHasPath_);
}

void TKestFolderDialog::SetLabelCaptions(const TStringList& captions) {
    if (captions.Text() != labelCaptions_.Text()) labelCaptions_.Assign(captions);
}

void TKestFolderDialog::SetNewFolderCaptions(const TStringList& captions) {
    if (captions.Text() != newFolderCaptions_.Text()) newFolderCaptions_.Assign(captions);
}

bool TKestFolderDialog::LabelCaptionsStored() const {
    return labelCaptions_.CommaText() != kBuiltInLabelCaptions;
}

bool TKestFolderDialog::NewFolderCaptionsStored() const {
    return newFolderCaptions_.CommaText() != kBuiltInNewFolderCaptions;
}

void TKestFolderDialog::NewFolderCaptionsChanged() {
    newFolderCaption_ = ResolveCaption(newFolderCaptions_, languageKey_);
    // The button keeps its width: it was fitted to the caption it was made with.
    if (IsWindow(newFolderButton_)) SetWindowTextA(newFolderButton_, Shown(newFolderCaption_).c_str());
}

void TKestFolderDialog::LabelCaptionsChanged() {
    labelCaption_ = ResolveCaption(labelCaptions_, languageKey_);
}


// --- Execute -------------------------------------------------------------------------------------

HWND TKestFolderDialog::ChooseOwnerWindow() {
    if (OwnerWindow && IsWindow(OwnerWindow)) return OwnerWindow;
    if (auto* control = dynamic_cast<tk::WinControl*>(Owner())) return control->Handle();
    if (tk::Form* main = tk::App().MainForm()) return main->Handle();
    return tk::App().Handle();
}

bool TKestFolderDialog::Execute() {
    // The shell browser runs in the single-threaded COM apartment that the program opened for
    // its user-interface thread at start (tk::ComApartment); opening and closing one here would
    // tear down what the shell keeps for the process.
    selectionPath_ = Folder;
    HWND owner = ChooseOwnerWindow();

    // A failed lookup leaves the root NULL: the desktop.
    tk::OwnedIdList root;
    int folderId = ShellFolderId(RootFolder);
    if (folderId >= 0) SHGetSpecialFolderLocation(owner, folderId, root.put());

    // One title for every browser this call opens.
    const std::string title = Shown(labelCaption_);
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.pidlRoot = root.get();
    info.pszDisplayName = displayNameBuffer_;
    info.lpszTitle = title.c_str();
    info.ulFlags = BrowseInfoFlagBits(Flags);
    info.lpfn = &TKestFolderDialog::BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(this);
    info.iImage = 0;

    selectionPath_ = Folder;
    lastSelectionIdList_.reset();

    // The New-folder command asks for a reopen and cancels the browser; it then opens again
    // on SelectionPath (the new folder, or its parent when making it failed).
    tk::OwnedIdList result;
    do {
        dialogReady_ = false;
        reopenRequested_ = false;
        Folder = selectionPath_;
        result.reset(SHBrowseForFolderA(&info));
    } while (reopenRequested_);

    bool chosen = false;
    if (result) {
        Folder = PathOfItem(result.get());
        displayName_ = DisplayNameOf(result.get());
        selectionPath_ = Folder;
        imageIndex_ = info.iImage;
        chosen = true;
    }
    lastSelectionIdList_.reset();
    return chosen;
}

// --- The browser's callback ----------------------------------------------------------------------

int CALLBACK TKestFolderDialog::BrowseCallback(HWND dialog, UINT msg, LPARAM lParam, LPARAM data) {
    auto* self = reinterpret_cast<TKestFolderDialog*>(data);
    if (!self) return 0;
    Guarded([&] {
        if (msg == BFFM_INITIALIZED)
            self->DialogInitialized(dialog);
        else if (msg == BFFM_SELCHANGED)
            self->SelectionChanged(dialog, reinterpret_cast<LPCITEMIDLIST>(lParam));
    });
    return 0;
}

void TKestFolderDialog::DialogInitialized(HWND dialog) {
    dialogHandle_ = dialog;

    RECT r{};
    GetWindowRect(dialog, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    int x = GetSystemMetrics(SM_CXSCREEN) / 2 - w / 2;
    int y = GetSystemMetrics(SM_CYSCREEN) / 2 - h / 2;
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    SetWindowLongPtrA(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    CreateNewFolderButton(dialog);
    if (IsWindow(newFolderButton_)) {
        EnableWindow(newFolderButton_, selectionHasPath_ && newFolderEnabled_);
        ShowWindow(newFolderButton_, newFolderVisible_ ? SW_SHOW : SW_HIDE);
    }

    if (DirectoryExists(Folder))
        SelectFolderByPath(dialog, Folder);
    else if (lastSelectionIdList_)
        SendMessageA(dialog, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(lastSelectionIdList_.get()));

    dialogReady_ = true;
    if (OnInitialized) OnInitialized(this, dialog);
}

void TKestFolderDialog::CreateNewFolderButton(HWND dialog) {
    RECT client{};
    GetClientRect(dialog, &client);
    int dpi = 96;
    {
        tk::WindowDc screen(nullptr);
        if (screen.get()) dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
    }
    NewFolderButtonPlacement place =
        PlaceNewFolderButton(dpi, client.bottom - client.top, GetSystemMetrics(SM_CYCAPTION));

    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | BS_PUSHBUTTON;
    const std::string caption = Shown(newFolderCaption_);
    HWND button = CreateWindowExA(0, "Button", caption.c_str(), style, place.x, place.y,
                                  place.width, place.height, dialog,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kNewFolderButtonId)),
                                  tk::Instance(), nullptr);
    if (button) {
        // The button shows its caption in the font it was measured in; that font lives as long
        // as the program.
        HFONT font = tk::DefaultFont();
        SIZE text{};
        {
            tk::OwnedMemDc scratch(CreateCompatibleDC(nullptr));
            if (scratch) {
                tk::SelectObjectScope select(scratch.get(), font);
                GetTextExtentPoint32A(scratch.get(), caption.c_str(), static_cast<int>(caption.size()),
                                      &text);
            }
        }
        PostMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);

        RECT size{0, 0, std::max<int>(text.cx + 12, place.minWidth), place.height};
        AdjustWindowRect(&size, style, FALSE);
        RECT placed{};
        GetWindowRect(button, &placed);
        POINT topLeft{placed.left, placed.top};
        ScreenToClient(dialog, &topLeft);
        MoveWindow(button, topLeft.x, topLeft.y, size.right - size.left, size.bottom - size.top, TRUE);
        EnableWindow(button, newFolderEnabled_);
    }

    dialogProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(dialog, GWLP_WNDPROC));
    SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TKestFolderDialog::DialogWindowProc));
    newFolderButton_ = button;
}

void TKestFolderDialog::SelectFolderByPath(HWND dialog, const std::string& path) {
    tk::ComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.put())) || !DirectoryExists(path)) return;
    std::wstring wide = platform::Widen(path);
    // A shell may match the list against its tree byte for byte, and a list holds a folder's
    // access time, which parsing the path below it can refresh: a second parse, made once the
    // folders have settled, is tried when the first selected nothing.
    for (int attempt = 0; attempt < 2; ++attempt) {
        tk::OwnedIdList item;
        ULONG eaten = 0, attributes = 0;
        desktop->ParseDisplayName(nullptr, nullptr, wide.data(), &eaten, item.put(), &attributes);
        if (!item) return;
        unsigned before = selectionChanges_;
        SendMessageA(dialog, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(item.get()));
        if (selectionChanges_ != before) return;
    }
}

// The item's parsing name, whatever kind of STRRET the shell answers with.
std::string TKestFolderDialog::StatusTextWithoutPath(LPCITEMIDLIST item) {
    tk::ComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.put()))) return {};
    STRRET name{};
    if (FAILED(desktop->GetDisplayNameOf(item, SHGDN_FORPARSING, &name))) return {};
    switch (name.uType) {
    case STRRET_WSTR: {
        std::string text = name.pOleStr ? platform::Narrow(name.pOleStr) : std::string();
        CoTaskMemFree(name.pOleStr);
        return text;
    }
    case STRRET_OFFSET:
        return reinterpret_cast<const char*>(item) + name.uOffset;
    case STRRET_CSTR:
        return std::string(name.cStr, strnlen(name.cStr, sizeof name.cStr));
    default:
        return {};
    }
}

void TKestFolderDialog::SelectionChanged(HWND dialog, LPCITEMIDLIST item) {
    ++selectionChanges_;
    const std::string path = PathOfItem(item);
    // Only the user's own choices count; the dialog's list dies with it, so keep a copy.
    if (dialogReady_ && item) lastSelectionIdList_.reset(ILClone(item));
    selectionPath_ = path;

    if (Flags.Contains(TBrowseInfoFlags::ShowPath)) {
        std::string status = ShortenPath(selectionPath_, kStatusLimit);
        if (status.empty() && item) status = StatusTextWithoutPath(item);
        if (status.empty() && item) {
            status = DisplayNameOf(item);
            selectionPath_ = status;
        }
        SendMessageA(dialog, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(status.c_str()));
    }

    selectionHasPath_ = !selectionPath_.empty();
    // OK follows our own rule, whatever the shell decided from the BIF bits.
    bool ok = Flags.Contains(TBrowseInfoFlags::OnlyFileSystem) ? selectionHasPath_ : true;
    SendMessageA(dialog, BFFM_ENABLEOK, 0, ok ? 1 : 0);
    if (IsWindow(newFolderButton_)) EnableWindow(newFolderButton_, selectionHasPath_ && newFolderEnabled_);

    if (OnSelectionChanged) OnSelectionChanged(this, dialog, item, selectionPath_);
}

// --- The New-folder command ----------------------------------------------------------------------

LRESULT CALLBACK TKestFolderDialog::DialogWindowProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<TKestFolderDialog*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
    if (!self) return DefDlgProcA(dialog, msg, wp, lp);
    if (msg == WM_COMMAND && LOWORD(wp) == kNewFolderButtonId) {
        Guarded([&] { self->NewFolderCommand(dialog); });
        return 0;
    }
    if (self->dialogProc_) return CallWindowProcA(self->dialogProc_, dialog, msg, wp, lp);
    return DefDlgProcA(dialog, msg, wp, lp);
}

void TKestFolderDialog::NewFolderCommand(HWND dialog) {
    const std::string caption = Shown(newFolderCaption_);
    std::string name = tk::InputBox(caption, "", 255);
    if (name.empty()) return;

    reopenRequested_ = true;
    const std::string newPath = NewFolderPath(selectionPath_, name, CP_ACP);

    if (!newPath.empty() && ForceDirectories(newPath, CP_ACP)) {
        selectionPath_ = newPath;
    } else {
        dialogReady_ = false;
        // The system's own words for "cannot make", whatever the real cause was.
        tk::OwnedLocal text;
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr,
                       ERROR_CANNOT_MAKE, 0, reinterpret_cast<LPSTR>(text.put()), 256, nullptr);
        std::string message = text ? static_cast<const char*>(text.get()) : "";
        tk::ApplicationMessageBox(message, caption, MB_OK | MB_ICONEXCLAMATION);
    }

    // Close this browser through its own Cancel; Execute opens the next on SelectionPath.
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
}
