// TKestFolderDialog: the shell's folder browser with a New-folder button, a status line and localised texts.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

#include "controls/FolderCaptions.h"
#include "toolkit/Component.h"
#include "toolkit/Handles.h"

// What the browser may return and show; each member adds one BIF_ bit.
enum class TBrowseInfoFlags : uint8_t {
    OnlyComputers,   // BIF_BROWSEFORCOMPUTER
    OnlyPrinters,    // BIF_BROWSEFORPRINTER
    OnlyDomains,     // BIF_DONTGOBELOWDOMAIN
    OnlyAncestors,   // BIF_RETURNFSANCESTORS
    OnlyFileSystem,  // BIF_RETURNONLYFSDIRS; also keeps OK off for items without a path
    ShowPath,        // BIF_STATUSTEXT; the status line shows the shortened path
};
inline constexpr int kBrowseInfoFlagCount = 6;

// A set of TBrowseInfoFlags in one byte: bit n for the member of ordinal n.
class TBrowseInfoFlagSet {
public:
    constexpr TBrowseInfoFlagSet() = default;
    constexpr TBrowseInfoFlagSet(std::initializer_list<TBrowseInfoFlags> flags) {
        for (TBrowseInfoFlags f : flags) bits_ = static_cast<uint8_t>(bits_ | Bit(f));
    }
    constexpr uint8_t Bits() const { return bits_; }
    constexpr bool Contains(TBrowseInfoFlags f) const { return (bits_ & Bit(f)) != 0; }
    constexpr void Include(TBrowseInfoFlags f) { bits_ = static_cast<uint8_t>(bits_ | Bit(f)); }
    constexpr bool operator==(const TBrowseInfoFlagSet&) const = default;

private:
    static constexpr uint8_t Bit(TBrowseInfoFlags f) { return static_cast<uint8_t>(1u << static_cast<unsigned>(f)); }
    uint8_t bits_ = 0;
};

// The BROWSEINFOA ulFlags for a set: its members' bits and no other.
UINT BrowseInfoFlagBits(TBrowseInfoFlagSet flags);

// Root of the tree, through a shell special-folder identifier.
enum class TSHFolders : uint8_t {
    foDesktop,
    foDesktopExpanded,  // no identifier: the browser's own root (pidlRoot NULL)
    foPrograms,
    foControlPanel,
    foPrinters,
    foPersonal,
    foFavorites,
    foStartup,
    foRecent,
    foSendto,
    foRecycleBin,
    foStartMenu,
    foDesktopFolder,
    foMyComputer,
    foNetwork,
    foNetworkNeighborhood,
    foFonts,
    foTemplates,
};
inline constexpr int kShellFolderCount = 18;

// The CSIDL of a root, or -1 for foDesktopExpanded.
int ShellFolderId(TSHFolders folder);

// Where the New-folder button is created for a screen resolution, before it is widened to its
// caption, and the least width it keeps.
struct NewFolderButtonPlacement {
    int x, y, width, height, minWidth;
};
NewFolderButtonPlacement PlaceNewFolderButton(int dpi, int clientHeight, int captionHeight);

// The New-folder command's paths, as ANSI texts of a code page (the program's: CP_ACP), walked
// by character: on Japanese, Chinese and Korean systems a character's second byte may be 0x5C.
// The folder for a typed name: parent + "\" + name, without a second backslash when one side
// has it. Empty when the name, or a part of it between backslashes, ends in a space or a dot,
// which Windows would drop (a name of spaces only would make nothing at all).
std::string NewFolderPath(const std::string& parent, const std::string& name, UINT codePage);
// Creates the folder and every missing folder above it; true when it then is a folder. The
// path must be fully qualified ("C:\..." or "\\server\share\...").
bool ForceDirectories(const std::string& path, UINT codePage);

// The button's control id inside the browse dialog.
inline constexpr int kNewFolderButtonId = 255;

class TKestFolderDialog;
using TBrowserInitializedEvent = std::function<void(TKestFolderDialog* sender, HWND dialogHandle)>;
// itemIdList belongs to the dialog and is valid only during the call.
using TSelectionChangedEvent =
    std::function<void(TKestFolderDialog* sender, HWND dialogHandle, LPCITEMIDLIST itemIdList,
                       const std::string& folder)>;

class TKestFolderDialog : public tk::Component {
public:
    explicit TKestFolderDialog(tk::Component* owner = nullptr);
    ~TKestFolderDialog() override;

    // "TKestFolderDialog" with its published properties; registered for layouts on first use.
    static const tk::ClassInfo& StaticInfo();
    const tk::ClassInfo& Info() const override { return StaticInfo(); }
    // Makes the class known to the layout reader (safe to call more than once).
    static void Register();

    // Resolves both captions again once a layout has set the lists.
    void Loaded() override;

    // Shows the browser until OK (true) or Cancel (false). On true, Folder is the chosen item's
    // file-system path (empty for an item without one), DisplayName and ImageIndex describe it.
    bool Execute();

    // --- Published -----------------------------------------------------------------------
    std::string Folder;
    TBrowseInfoFlagSet Flags{TBrowseInfoFlags::ShowPath};
    TSHFolders RootFolder = TSHFolders::foDesktopExpanded;

    bool NewFolderVisible() const { return newFolderVisible_; }
    void SetNewFolderVisible(bool visible);
    bool NewFolderEnabled() const { return newFolderEnabled_; }
    void SetNewFolderEnabled(bool enabled);

    // Called only when set, on the thread that runs Execute.
    TBrowserInitializedEvent OnInitialized;
    TSelectionChangedEvent OnSelectionChanged;

    // The caption tables; editing them in place resolves the caption again.
    TStringList& LabelCaptions() { return labelCaptions_; }
    const TStringList& LabelCaptions() const { return labelCaptions_; }
    void SetLabelCaptions(const TStringList& captions);
    TStringList& NewFolderCaptions() { return newFolderCaptions_; }
    const TStringList& NewFolderCaptions() const { return newFolderCaptions_; }
    void SetNewFolderCaptions(const TStringList& captions);
    // Stored in a layout only when they differ from the built-in tables.
    bool LabelCaptionsStored() const;
    bool NewFolderCaptionsStored() const;

    const std::string& Version() const { return version_; }
    void SetVersion(const std::string&) {}  // read-only in effect

    // --- Chosen by the caller ----------------------------------------------------------
    // Owner of the browser when it is a window; else the owner control's, the main form's or
    // the application's window.
    HWND OwnerWindow = nullptr;

    // --- Results and state ---------------------------------------------------------------
    // The last browse dialog and its button; they die with the dialog (test with IsWindow).
    HWND DialogHandle() const { return dialogHandle_; }
    HWND NewFolderButton() const { return newFolderButton_; }
    const std::string& DisplayName() const { return displayName_; }
    int ImageIndex() const { return imageIndex_; }
    const std::string& LabelCaption() const { return labelCaption_; }
    const std::string& NewFolderCaption() const { return newFolderCaption_; }
    const std::string& LanguageKey() const { return languageKey_; }
    const std::string& SelectionPath() const { return selectionPath_; }
    bool SelectionHasPath() const { return selectionHasPath_; }

private:
    static int CALLBACK BrowseCallback(HWND dialog, UINT msg, LPARAM lParam, LPARAM data);
    static LRESULT CALLBACK DialogWindowProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp);

    HWND ChooseOwnerWindow();
    void DialogInitialized(HWND dialog);
    void SelectionChanged(HWND dialog, LPCITEMIDLIST item);
    void CreateNewFolderButton(HWND dialog);
    void SelectFolderByPath(HWND dialog, const std::string& path);
    std::string StatusTextWithoutPath(LPCITEMIDLIST item);
    void NewFolderCommand(HWND dialog);
    void NewFolderCaptionsChanged();
    void LabelCaptionsChanged();

    HWND dialogHandle_ = nullptr;
    HWND newFolderButton_ = nullptr;
    std::string labelCaption_;
    // The shell writes the chosen item's name here, cut at MAX_PATH bytes; displayName_ is
    // taken whole from the item.
    char displayNameBuffer_[MAX_PATH] = {};
    std::string displayName_;
    int imageIndex_ = 0;
    std::string selectionPath_;
    bool newFolderVisible_ = true;
    bool newFolderEnabled_ = true;
    std::string newFolderCaption_;
    bool reopenRequested_ = false;
    bool selectionHasPath_ = true;
    std::string version_ = "3.00.00.00";
    std::string languageKey_;
    TStringList newFolderCaptions_;
    TStringList labelCaptions_;
    // A copy of the last selection the user made; the dialog's own list dies with it.
    tk::OwnedIdList lastSelectionIdList_;
    bool dialogReady_ = false;
    unsigned selectionChanges_ = 0;  // tells whether a selection request took
    // The dialog's own window procedure, which the New-folder command's procedure passes on to.
    WNDPROC dialogProc_ = nullptr;
};
