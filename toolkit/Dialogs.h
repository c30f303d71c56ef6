// Modal message boxes and the text-input box of the toolkit.
#pragma once

#include <windows.h>

#include <string>

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

}  // namespace tk
