// Components for the layout tests: a property of every kind and every storing rule.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/Layout.h"

namespace layouttest {

using tk::LayoutValue;

inline std::vector<std::string> g_log;  // Loaded() calls and destructions, in order

// A component with a property of every kind and every storing rule.
class Thing : public tk::Component {
public:
    using Component::Component;
    ~Thing() override { g_log.push_back("~" + Name()); }

    int64_t count = 0;
    std::string caption;
    std::string style = "stNone";
    std::vector<std::string> flags;
    std::vector<uint8_t> data;
    std::vector<std::string> lines;
    int secret = 0;
    int mode = 0;
    Component* parent = nullptr;

    static const tk::ClassInfo& StaticInfo();
    const tk::ClassInfo& Info() const override { return StaticInfo(); }
    void SetParentComponent(Component* p) override { parent = p; }
    Component* GetParentComponent() const override { return parent; }
    void Loaded() override { g_log.push_back("Loaded " + Name()); }
};

class BigThing : public Thing {
public:
    using Thing::Thing;
    int size = 3;
    static const tk::ClassInfo& StaticInfo();
    const tk::ClassInfo& Info() const override { return StaticInfo(); }
};

inline const tk::ClassInfo& Thing::StaticInfo() {
    static const tk::ClassInfo info = [] {
        tk::ClassInfo i;
        i.name = "TThing";
        i.base = &Component::StaticInfo();
        using tk::Property;
        i.properties = {
            Property<Thing>("Count", [](Thing& t, const LayoutValue& v) { t.count = tk::IntValue(v); },
                            [](const Thing& t) { return LayoutValue::Int(t.count); }, LayoutValue::Int(0)),
            Property<Thing>("Caption", [](Thing& t, const LayoutValue& v) { t.caption = tk::StringValue(v); },
                            [](const Thing& t) { return LayoutValue::Str(t.caption); }),
            Property<Thing>("Style", [](Thing& t, const LayoutValue& v) { t.style = tk::IdentValue(v); },
                            [](const Thing& t) { return LayoutValue::Id(t.style); }, LayoutValue::Id("stNone")),
            Property<Thing>("Flags", [](Thing& t, const LayoutValue& v) { t.flags = tk::SetValue(v); },
                            [](const Thing& t) { return LayoutValue::SetOf(t.flags); }, LayoutValue::SetOf({})),
            Property<Thing>("Picture.Data", [](Thing& t, const LayoutValue& v) { t.data = tk::BinaryValue(v); },
                            [](const Thing& t) { return LayoutValue::Bin(t.data); }, std::nullopt,
                            [](const Thing& t) { return !t.data.empty(); }),
            Property<Thing>("Lines", [](Thing& t, const LayoutValue& v) { t.lines = tk::ListValue(v); },
                            [](const Thing& t) { return LayoutValue::ListOf(t.lines); }, std::nullopt,
                            [](const Thing& t) { return !t.lines.empty(); }),
            Property<Thing>("Secret", [](Thing& t, const LayoutValue& v) { t.secret = tk::Int32Value(v); },
                            [](const Thing& t) { return LayoutValue::Int(t.secret); }, std::nullopt,
                            [](const Thing&) { return false; }),
            // Stored only under stCustom, whatever its value.
            Property<Thing>("Mode", [](Thing& t, const LayoutValue& v) { t.mode = tk::Int32Value(v); },
                            [](const Thing& t) { return LayoutValue::Int(t.mode); }, LayoutValue::Int(0),
                            [](const Thing& t) { return t.style == "stCustom"; }),
        };
        i.create = [](Component* owner) { return std::make_unique<Thing>(owner); };
        return i;
    }();
    return info;
}

inline const tk::ClassInfo& BigThing::StaticInfo() {
    static const tk::ClassInfo info = [] {
        tk::ClassInfo i;
        i.name = "TBigThing";
        i.base = &Thing::StaticInfo();
        i.properties = {tk::Property<BigThing>(
            "Size", [](BigThing& t, const LayoutValue& v) { t.size = tk::Int32Value(v); },
            [](const BigThing& t) { return LayoutValue::Int(t.size); }, LayoutValue::Int(3))};
        i.create = [](Component* owner) { return std::make_unique<BigThing>(owner); };
        return i;
    }();
    return info;
}

class LayoutTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        tk::RegisterClass(Thing::StaticInfo());
        tk::RegisterClass(BigThing::StaticInfo());
    }
    void SetUp() override { g_log.clear(); }
};

inline std::vector<uint8_t> AllBytes(size_t n) {
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(i * 7 + 3);
    return v;
}

}  // namespace layouttest
