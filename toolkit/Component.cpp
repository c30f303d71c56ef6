// Components: ownership, the class registry and the published properties of TComponent.
#include "toolkit/Component.h"

#include "platform/Text.h"
#include "toolkit/Layout.h"

#include <map>
#include <mutex>

namespace tk {

namespace {

// Layout names are matched without regard to ASCII letter case, as the form files do.
struct NoCaseLess {
    bool operator()(const std::string& a, const std::string& b) const { return platform::LessTextAscii(a, b); }
};

bool SameName(const std::string& a, const std::string& b) { return platform::SameTextAscii(a, b); }

std::map<std::string, ClassInfo, NoCaseLess>& Registry() {
    static std::map<std::string, ClassInfo, NoCaseLess> registry;
    return registry;
}

}  // namespace

const PropertyInfo* ClassInfo::Find(const std::string& property) const {
    for (const ClassInfo* c = this; c; c = c->base) {
        for (const PropertyInfo& p : c->properties) {
            if (SameName(p.name, property)) return &p;
        }
    }
    return nullptr;
}

std::vector<const PropertyInfo*> ClassInfo::All() const {
    std::vector<const ClassInfo*> chain;
    for (const ClassInfo* c = this; c; c = c->base) chain.push_back(c);
    std::vector<const PropertyInfo*> all;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        for (const PropertyInfo& p : (*it)->properties) {
            // A class may publish a base property anew (another default): it keeps its place.
            bool replaced = false;
            for (const PropertyInfo*& q : all) {
                if (SameName(q->name, p.name)) { q = &p; replaced = true; break; }
            }
            if (!replaced) all.push_back(&p);
        }
    }
    return all;
}

#pragma push_macro("RegisterClass")
#undef RegisterClass
void RegisterClass(const ClassInfo& info) {
    auto& registry = Registry();
    auto it = registry.find(info.name);
    if (it == registry.end()) {
        registry.emplace(info.name, info);
    } else {
        it->second = info;  // the node stays, so pointers handed out earlier stay valid
    }
}
#pragma pop_macro("RegisterClass")

const ClassInfo* FindClass(const std::string& name) {
    static std::once_flag once;
    std::call_once(once, [] { RegisterToolkitClasses(); });
    auto& registry = Registry();
    auto it = registry.find(name);
    return it == registry.end() ? nullptr : &it->second;
}

Component::Component(Component* owner) : owner_(owner) {}

Component::~Component() {
    // Owned components go in reverse order of adoption; each is taken out of the list before
    // it is destroyed, so a destructor that looks at its owner never sees a half-dead entry.
    while (!owned_.empty()) {
        std::unique_ptr<Component> last = std::move(owned_.back());
        owned_.pop_back();
        last.reset();
    }
}

Component* Component::Adopt(std::unique_ptr<Component> child) {
    if (!child) return nullptr;
    child->owner_ = this;
    owned_.push_back(std::move(child));
    return owned_.back().get();
}

Component* Component::FindComponent(const std::string& name) const {
    if (name.empty()) return nullptr;
    for (const auto& c : owned_) {
        if (SameName(c->Name(), name)) return c.get();
    }
    return nullptr;
}

const std::string* Component::BoundHandler(const std::string& event) const {
    for (const auto& [e, m] : handlers_)
        if (e == event) return &m;
    return nullptr;
}

void Component::BindHandler(const std::string& event, const std::string& method) {
    for (auto& [e, m] : handlers_) {
        if (e == event) {
            m = method;
            return;
        }
    }
    handlers_.emplace_back(event, method);
}

const ClassInfo& Component::Info() const { return StaticInfo(); }

const ClassInfo& Component::StaticInfo() {
    using C = Component;
    static const ClassInfo info{
        "TComponent",
        nullptr,
        {
            // Never stored: the layout's object line carries it.
            StrProperty<C>("Name", &C::Name, &C::SetName, std::nullopt, [](const C&) { return false; }),
            IntProperty<C>("Tag", &C::Tag, &C::Tag, 0),
        },
        [](Component* owner) { return std::make_unique<Component>(owner); }};
    return info;
}

}  // namespace tk
