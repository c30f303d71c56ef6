// Layouts and their pictures from the program's RCDATA resources.
#include "toolkit/Layout.h"

#include <windows.h>

namespace tk {

std::optional<std::vector<uint8_t>> ResourceBytes(const std::string& name) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, name.c_str(), RT_RCDATA);
    if (!found) return std::nullopt;
    HGLOBAL loaded = LoadResource(module, found);
    DWORD size = SizeofResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data && size != 0) return std::nullopt;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(bytes, bytes + size);
}

LayoutResult LoadLayoutResource(Component& root, const char* name) {
    std::optional<std::vector<uint8_t>> bytes = ResourceBytes(name);
    if (!bytes) return {false, 0, std::string("no layout resource \"") + name + "\""};
    std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    return LoadLayout(root, text, [](const std::string& picture) { return ResourceBytes(picture); });
}

}  // namespace tk
