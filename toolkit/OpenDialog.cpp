// OpenDialog: GetOpenFileNameA with the explorer-style dialog; parsing of its file buffer.
#include "toolkit/OpenDialog.h"

#include "platform/File.h"
#include "toolkit/Application.h"
#include "toolkit/Layout.h"

#include <cderr.h>
#include <commdlg.h>

#include <algorithm>
#include <cstring>

namespace tk {

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
