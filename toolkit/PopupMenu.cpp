// PopupMenu and MenuItem: the system menu is made from the items for each popup and freed after.
#include "toolkit/PopupMenu.h"

#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/Handles.h"
#include "toolkit/Layout.h"

#include <stdexcept>

namespace tk {

namespace {

// Appends the visible items to menu; command ids are 1 + the index in commands.
void Build(HMENU menu, const std::vector<MenuItem*>& items, std::vector<MenuItem*>& commands) {
    for (MenuItem* item : items) {
        if (!item->Visible()) continue;
        if (item->IsSeparator()) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        commands.push_back(item);
        AppendMenuA(menu, item->Enabled() ? MF_STRING : MF_STRING | MF_GRAYED, commands.size(),
                    item->Caption().c_str());
    }
}

}  // namespace

MenuItem::MenuItem(Component* owner) : Component(owner) {}

MenuItem::~MenuItem() { Detach(); }

void MenuItem::Click() {
    if (!OnClick) return;
    std::function<void(Component*)> handler = OnClick;  // the handler may free this item
    handler(this);
}

void MenuItem::Detach() {
    if (parentMenu_) parentMenu_->Remove(*this);
}

Component* MenuItem::GetParentComponent() const { return parentMenu_; }

void MenuItem::SetParentComponent(Component* parent) {
    if (!parent) {
        Detach();
    } else if (auto* menu = dynamic_cast<PopupMenu*>(parent)) {
        menu->Add(*this);
    } else {
        throw std::invalid_argument("a menu item belongs in a menu");
    }
}

const ClassInfo& MenuItem::StaticInfo() {
    using C = MenuItem;
    static const ClassInfo info{
        "TMenuItem",
        &Component::StaticInfo(),
        {
            StrProperty<C>("Caption", &C::Caption, &C::SetCaption, ""),
            BoolProperty<C>("Enabled", &C::Enabled, &C::SetEnabled, true),
            BoolProperty<C>("Visible", &C::Visible, &C::SetVisible, true),
            EventProperty<C>("OnClick", &C::OnClick, &EventMethods::notify),
        },
        [](Component* owner) { return std::make_unique<MenuItem>(owner); }};
    return info;
}

PopupMenu::PopupMenu(Component* owner) : Component(owner) {}

PopupMenu::~PopupMenu() {
    for (MenuItem* item : items_) item->parentMenu_ = nullptr;
}

void PopupMenu::Add(MenuItem& item) {
    item.Detach();
    items_.push_back(&item);
    item.parentMenu_ = this;
}

void PopupMenu::Remove(MenuItem& item) {
    if (item.parentMenu_ != this) return;
    std::erase(items_, &item);
    item.parentMenu_ = nullptr;
}

void PopupMenu::Popup(int screenX, int screenY) {
    OwnedMenu menu(CreatePopupMenu());
    if (!menu) return;
    std::vector<MenuItem*> commands;
    Build(menu.get(), items_, commands);

    HWND owner = App().Handle();  // owns the menu while it is up
    // A menu whose owner thread is not in the foreground does not close when the user clicks
    // elsewhere; when another program has the foreground, bring ours forward first.
    HWND foreground = GetForegroundWindow();
    if (!foreground || GetWindowThreadProcessId(foreground, nullptr) != GetCurrentThreadId())
        SetForegroundWindow(owner);

    UINT flags = TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD;
    BOOL chosen = TrackPopupMenu(menu.get(), flags, screenX, screenY, 0, owner, nullptr);
    PostMessageA(owner, WM_NULL, 0, 0);  // the documented follow-up: lets the menu state settle
    menu.reset();

    if (chosen <= 0 || static_cast<size_t>(chosen) > commands.size()) return;
    commands[static_cast<size_t>(chosen) - 1]->Click();
}

const ClassInfo& PopupMenu::StaticInfo() {
    static const ClassInfo info{
        "TPopupMenu", &Component::StaticInfo(), {}, [](Component* owner) { return std::make_unique<PopupMenu>(owner); }};
    return info;
}

}  // namespace tk
