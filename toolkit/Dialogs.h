// Modal message boxes, the text-input box and the file-open dialog.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/Component.h"

namespace tk {

// Boxes are modal to the window the user is working with (Application::WindowInUse), also
// while another program is active: they disable it and stay above it. While the program is
// minimized a box waits until the taskbar button restores it, and it goes down and comes back
// with the program's windows.

// The error box: caption "Error", the error icon, one OK button.
void ShowErrorBox(const std::string& text);

// The plain box: caption the application title, no icon, one OK button.
void ShowMessage(const std::string& text);

// A message box during which every other enabled, visible top-level window of the thread but
// the application window is disabled; afterwards they are enabled again and the window that
// was active before is activated. Returns the button (IDOK, IDCANCEL, ...), 0 if the program
// ended before the box could come up.
int ApplicationMessageBox(const std::string& text, const std::string& caption, UINT flags);

// The system's own text for an error code (FormatMessageA), without the trailing line break.
std::string SystemErrorText(DWORD error);

// The box for a file that could not be created: "Cannot create file "path". <system text>".
void ShowFileCreateError(const std::string& path, DWORD error);
std::string FileCreateErrorText(const std::string& path, DWORD error);

// A modal prompt centred on the screen: title, prompt line (may be empty), one edit field of at
// most maxLength characters starting empty, "OK" (default) and "Cancel". Returns the typed text
// on OK, the empty text on Cancel or close. The dialog is a "#32770" window with that title; its
// edit field has the control id InputBoxEditId.
std::string InputBox(const std::string& title, const std::string& prompt, int maxLength = 255);
constexpr int InputBoxEditId = 100;
constexpr int InputBoxPromptId = 101;

// Options, named as a layout writes them: Options = [ofHideReadOnly, ofAllowMultiSelect].
enum OpenOption : uint32_t {
    ofHideReadOnly = 1u << 0,      // no read-only box
    ofAllowMultiSelect = 1u << 1,
    ofEnableSizing = 1u << 2,      // the dialog can be resized
};

class OpenDialog : public Component {
public:
    explicit OpenDialog(Component* owner = nullptr);

    // "Google Video (*.GVI)|*.gvi": pairs of description and pattern separated by "|".
    std::string Filter;
    std::string InitialDir;  // empty: wherever the system chooses
    uint32_t Options = ofHideReadOnly | ofEnableSizing;

    // Shows the dialog, modal to owner (nullptr: the active window, else the application
    // window). True when the user chose OK; Files() then lists the chosen files.
    bool Execute(HWND owner = nullptr);

    // Full paths in the order the dialog gave them; empty after a cancel.
    const std::vector<std::string>& Files() const { return files_; }

    // The OPENFILENAMEA flags Execute passes for Options.
    DWORD SystemFlags() const;

    static const ClassInfo& StaticInfo();
    const ClassInfo& Info() const override { return StaticInfo(); }

private:
    std::vector<std::string> files_;
};

// "A|*.a|B|*.b" to the dialog's form "A\0*.a\0B\0*.b\0\0".
std::string DialogFilter(std::string_view filter);

// The file buffer the dialog fills: "C:\dir\a.gvi\0\0" for one file, or (explorer style,
// multiple selection) "C:\dir\0a.gvi\0b.gvi\0\0". Returns full paths in buffer order. Reads at
// most size bytes, so an unterminated buffer is safe.
std::vector<std::string> ParseOpenFileBuffer(const char* buffer, size_t size);

}  // namespace tk
