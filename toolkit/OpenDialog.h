// OpenDialog: the system's file-open dialog as a component (filter, initial folder, options).
#pragma once

#include "toolkit/Component.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tk {

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
