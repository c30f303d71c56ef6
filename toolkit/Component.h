// Components: named objects with published properties that window layouts store and load.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tk {

// One value of a stored layout: 12, 'text', clBtnFace, [a, b], {hex bytes}, ('a' 'b').
struct LayoutValue {
    enum class Kind { Integer, String, Ident, Set, Binary, List };
    Kind kind = Kind::Integer;
    int64_t integer = 0;
    std::string text;                // String and Ident
    std::vector<std::string> items;  // Set (identifiers) and List (strings)
    std::vector<uint8_t> bytes;      // Binary

    static LayoutValue Int(int64_t v) { LayoutValue r; r.kind = Kind::Integer; r.integer = v; return r; }
    static LayoutValue Str(std::string v) { LayoutValue r; r.kind = Kind::String; r.text = std::move(v); return r; }
    static LayoutValue Id(std::string v) { LayoutValue r; r.kind = Kind::Ident; r.text = std::move(v); return r; }
    static LayoutValue Bool(bool v) { return Id(v ? "True" : "False"); }
    static LayoutValue SetOf(std::vector<std::string> v) { LayoutValue r; r.kind = Kind::Set; r.items = std::move(v); return r; }
    static LayoutValue Bin(std::vector<uint8_t> v) { LayoutValue r; r.kind = Kind::Binary; r.bytes = std::move(v); return r; }
    static LayoutValue ListOf(std::vector<std::string> v) { LayoutValue r; r.kind = Kind::List; r.items = std::move(v); return r; }

    bool operator==(const LayoutValue&) const = default;
};

class Component;

// A published property: how a layout value is applied, read back, and whether it is stored.
struct PropertyInfo {
    std::string name;
    std::function<void(Component&, const LayoutValue&)> load;  // apply a stored value
    std::function<LayoutValue(const Component&)> save;          // the value to store
    // Storing rule. Unset: stored unless equal to `defaultValue` (when one is declared).
    // Set: decides alone (for "never stored" return false; for "stored only when...").
    std::function<bool(const Component&)> stored;
    std::optional<LayoutValue> defaultValue;
};

// What the layout reader needs to know about a class: its name, its properties (its base
// class's are inherited) and how to make one.
struct ClassInfo {
    std::string name;                 // "TImage", "TImageButton", ...
    const ClassInfo* base = nullptr;  // properties of the base come first
    std::vector<PropertyInfo> properties;
    std::function<std::unique_ptr<Component>(Component* owner)> create;

    // Finds a property here or in a base class; nullptr when there is none.
    const PropertyInfo* Find(const std::string& property) const;
    // All properties, base classes first, in declaration order.
    std::vector<const PropertyInfo*> All() const;
};

// Registry of the classes a layout may name.
// <windows.h> defines RegisterClass as RegisterClassA; both spellings reach the registry, in
// whichever order the headers come.
#pragma push_macro("RegisterClass")
#undef RegisterClass
void RegisterClass(const ClassInfo& info);
inline void RegisterClassA(const ClassInfo& info) { RegisterClass(info); }
#pragma pop_macro("RegisterClass")
const ClassInfo* FindClass(const std::string& name);

// Registers the toolkit's own classes (TComponent, TTimer, TForm, TImage, ...); FindClass calls it
// once before its first lookup. Defined in ControlClasses.cpp: a toolkit class adds itself there.
void RegisterToolkitClasses();

class Component {
public:
    explicit Component(Component* owner = nullptr);
    virtual ~Component();

    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    int32_t Tag = 0;

    Component* Owner() const { return owner_; }

    // Takes ownership of a component made for this one (the layout reader does this).
    Component* Adopt(std::unique_ptr<Component> child);
    Component* FindComponent(const std::string& name) const;
    const std::vector<std::unique_ptr<Component>>& Components() const { return owned_; }

    virtual const ClassInfo& Info() const;
    // "TComponent": publishes Name (never stored: the layout's object line carries it) and Tag.
    static const ClassInfo& StaticInfo();

    // A layout nests an object inside another: controls take the outer one as their parent.
    virtual void SetParentComponent(Component* /*parent*/) {}
    // The component this one sits in (a control's parent, a menu item's menu); the layout
    // writer nests it there.
    virtual Component* GetParentComponent() const { return nullptr; }

    // Called once every property of this component has been read from a layout.
    virtual void Loaded() {}

    // The handler method a layout bound to an event of this component ("OnClick" ->
    // "Add1Click"), by its name; nullptr when none is.
    const std::string* BoundHandler(const std::string& event) const;
    void BindHandler(const std::string& event, const std::string& method);

private:
    Component* owner_;
    std::string name_;
    std::vector<std::pair<std::string, std::string>> handlers_;  // event, method
    std::vector<std::unique_ptr<Component>> owned_;
};

// Sets a field of a property; false when it held that value already (the setter then has
// nothing to do).
template <typename T>
bool Change(T& field, T value) {
    if (field == value) return false;
    field = std::move(value);
    return true;
}

// Typed lookup of a component a layout created: `Find<Image>(form, "Image2")`.
template <typename T>
T* Find(const Component& owner, const std::string& name) {
    return dynamic_cast<T*>(owner.FindComponent(name));
}

}  // namespace tk
