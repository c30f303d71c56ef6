// Window layouts as text: a reader that builds a component tree and a writer that stores one.
//
//   object Form1: TForm1
//     Caption = 'Vexlar GVI Converter 1.4'
//     object Image2: TImage
//       Picture.Data = @main_background.jpg
//     end
//   end
//
// Values: 12, -3, 'text' (with '' for a quote and #228 for any byte outside printable ASCII,
// pieces may follow each other: 'a'#13#10'b'), identifiers (True, clBtnFace), sets [a, b],
// binary {0A1B...} over several lines, string lists ('a' 'b'), and @name: a picture the reader
// fetches through its resolver and hands on as a picture data block (32-bit little-endian byte
// count followed by the file).
#pragma once

#include "toolkit/Component.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace tk {

// Fetches the file named by an @reference; nullopt when there is none.
using PictureResolver = std::function<std::optional<std::vector<uint8_t>>(const std::string& name)>;

struct LayoutResult {
    bool ok = true;
    int line = 0;         // 1-based line of the fault
    std::string message;  // "line 7: unknown property "Foo" of TImage"
    explicit operator bool() const { return ok; }
};

// Reads a layout onto root: the outermost object's properties apply to root; every nested
// object is created through the class registry, owned by root and given the enclosing object as
// its parent component. After the whole tree, Loaded() runs on every new component, root last.
// A fault stops the reading and is reported with its line; nothing is thrown.
LayoutResult LoadLayout(Component& root, std::string_view text, const PictureResolver& resolve);

// Windows only (Form.cpp): the layout text is the RCDATA resource `name` of the
// program; @references name RCDATA resources too.
LayoutResult LoadLayoutResource(Component& root, const char* name);

// The bytes of an RCDATA resource of the program; nullopt when it has none of that name.
std::optional<std::vector<uint8_t>> ResourceBytes(const std::string& name);

// Writes component with every property its storing rule keeps, and the components it owns
// (and, for a component that owns none, its owner's components that sit inside it) nested.
std::string SaveComponent(const Component& component);

// --- Helpers for property loaders ------------------------------------------------------------

// A value of the wrong kind or range. Loaders throw it; the reader reports it with the line.
struct LayoutValueError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

int64_t IntValue(const LayoutValue& v);
int32_t Int32Value(const LayoutValue& v);
bool BoolValue(const LayoutValue& v);  // True or False
const std::string& StringValue(const LayoutValue& v);
const std::string& IdentValue(const LayoutValue& v);
const std::vector<std::string>& SetValue(const LayoutValue& v);
const std::vector<std::string>& ListValue(const LayoutValue& v);
const std::vector<uint8_t>& BinaryValue(const LayoutValue& v);

// A property of class C; load and save see the component as a C.
template <typename C>
PropertyInfo Property(std::string name,
                      std::function<void(C&, const LayoutValue&)> load,
                      std::function<LayoutValue(const C&)> save,
                      std::optional<LayoutValue> defaultValue = std::nullopt,
                      std::function<bool(const C&)> stored = nullptr) {
    PropertyInfo p;
    p.name = std::move(name);
    if (load) {
        p.load = [load](Component& c, const LayoutValue& v) {
            C* self = dynamic_cast<C*>(&c);
            if (!self) throw LayoutValueError("property of another class");
            load(*self, v);
        };
    }
    if (save) {
        p.save = [save](const Component& c) {
            const C* self = dynamic_cast<const C*>(&c);
            if (!self) throw LayoutValueError("property of another class");
            return save(*self);
        };
    }
    if (stored) {
        p.stored = [stored](const Component& c) {
            const C* self = dynamic_cast<const C*>(&c);
            return self && stored(*self);
        };
    }
    p.defaultValue = std::move(defaultValue);
    return p;
}

// A property of class C kept in a getter and a setter (member functions, data members or
// lambdas); T is int (a number), bool (True or False) or std::string (a string).
template <typename T, typename C, typename Get, typename Set>
PropertyInfo TypedProperty(std::string name, Get get, Set set, std::optional<T> def,
                           std::function<bool(const C&)> stored) {
    auto toValue = [](const T& v) {
        if constexpr (std::is_same_v<T, bool>) return LayoutValue::Bool(v);
        else if constexpr (std::is_same_v<T, int>) return LayoutValue::Int(v);
        else return LayoutValue::Str(v);
    };
    auto load = [set](C& c, const LayoutValue& v) {
        T value;
        if constexpr (std::is_same_v<T, bool>) value = BoolValue(v);
        else if constexpr (std::is_same_v<T, int>) value = Int32Value(v);
        else value = StringValue(v);
        if constexpr (std::is_member_object_pointer_v<Set>) c.*set = std::move(value);
        else std::invoke(set, c, std::move(value));
    };
    return Property<C>(std::move(name), load, [get, toValue](const C& c) { return toValue(std::invoke(get, c)); },
                       def ? std::optional<LayoutValue>(toValue(*def)) : std::nullopt, std::move(stored));
}

template <typename C, typename Get, typename Set>
PropertyInfo IntProperty(std::string name, Get get, Set set, std::optional<int> def = std::nullopt,
                         std::function<bool(const C&)> stored = nullptr) {
    return TypedProperty<int, C>(std::move(name), get, set, def, std::move(stored));
}
template <typename C, typename Get, typename Set>
PropertyInfo BoolProperty(std::string name, Get get, Set set, std::optional<bool> def = std::nullopt,
                          std::function<bool(const C&)> stored = nullptr) {
    return TypedProperty<bool, C>(std::move(name), get, set, def, std::move(stored));
}
template <typename C, typename Get, typename Set>
PropertyInfo StrProperty(std::string name, Get get, Set set, std::optional<std::string> def = std::nullopt,
                         std::function<bool(const C&)> stored = nullptr) {
    return TypedProperty<std::string, C>(std::move(name), get, set, std::move(def), std::move(stored));
}

// A property of C that names one of `names`; a name outside them is refused.
template <typename C, typename E, typename Get, typename Set>
PropertyInfo EnumProperty(std::string name, std::vector<std::pair<std::string, E>> names, Get get, Set set,
                          std::optional<E> def = std::nullopt) {
    auto nameOf = [names](E e) {
        for (const auto& [n, v] : names)
            if (v == e) return n;
        return names.front().first;
    };
    auto load = [names, set](C& c, const LayoutValue& v) {
        const std::string& id = IdentValue(v);
        for (const auto& [n, e] : names)
            if (n == id) return std::invoke(set, c, e);
        throw LayoutValueError("unknown value " + id);
    };
    return Property<C>(std::move(name), load, [get, nameOf](const C& c) { return LayoutValue::Id(nameOf(std::invoke(get, c))); },
                       def ? std::optional<LayoutValue>(LayoutValue::Id(nameOf(*def))) : std::nullopt);
}

}  // namespace tk
