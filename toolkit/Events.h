// Events bound by handler name: a layout says "OnClick = ImageButton1Click", and the control,
// timer or menu item gets the handler its form registered under that name.
#pragma once

#include <map>
#include <string>

#include "toolkit/Control.h"
#include "toolkit/Layout.h"

namespace tk {

// Handlers a layout names by text. A form registers its handler methods here before it loads
// its layout; event properties look them up by name.
struct EventMethods {
    std::map<std::string, NotifyEvent> notify;
    std::map<std::string, MouseEvent> mouse;
    std::map<std::string, MouseMoveEvent> mouseMove;
    std::map<std::string, KeyEvent> key;
    std::map<std::string, KeyPressEvent> keyPress;
    std::map<std::string, std::function<void(Component* sender, bool& canClose)>> closeQuery;
};

// The handlers of the form a component's events bind to (its root owner); nullptr when no form
// owns it.
EventMethods* MethodsFor(Component& c);

// The published event `name` of class C: loading looks the handler up in `table` by the name
// the layout gives, and the writer stores that name again while the handler is set.
template <typename C, typename E>
PropertyInfo EventProperty(std::string name, E C::*member, std::map<std::string, E> EventMethods::*table) {
    return Property<C>(
        name,
        [name, member, table](C& c, const LayoutValue& v) {
            const std::string& method = IdentValue(v);
            EventMethods* methods = MethodsFor(c);
            if (!methods) throw LayoutValueError("no form to take the method " + method);
            auto& named = methods->*table;
            auto it = named.find(method);
            if (it == named.end()) throw LayoutValueError("unknown method " + method);
            c.*member = it->second;
            c.BindHandler(name, method);
        },
        [name](const C& c) { return LayoutValue::Id(*c.BoundHandler(name)); }, std::nullopt,
        [name, member](const C& c) { return c.*member && c.BoundHandler(name); });
}

}  // namespace tk
