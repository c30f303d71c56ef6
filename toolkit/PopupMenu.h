// PopupMenu and MenuItem: a context menu built from its items each time it pops up.
#pragma once

#include "toolkit/Component.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace tk {

class PopupMenu;

// One entry of a menu. Caption "-" makes a separator; "&" marks the mnemonic ("&&" is a plain
// ampersand).
class MenuItem : public Component {
public:
    explicit MenuItem(Component* owner = nullptr);
    ~MenuItem() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption) { caption_ = std::move(caption); }
    bool IsSeparator() const { return caption_ == "-"; }

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }

    // Runs OnClick when it is set (the menu does this for the chosen item after it closed).
    void Click();
    std::function<void(Component* sender)> OnClick;

    // The menu this item sits in; nullptr when it is in none.
    PopupMenu* Parent() const { return parentMenu_; }

    // A layout nests items in a TPopupMenu.
    void SetParentComponent(Component* parent) override;
    Component* GetParentComponent() const override;

    static const ClassInfo& StaticInfo();
    const ClassInfo& Info() const override { return StaticInfo(); }

private:
    friend class PopupMenu;
    void Detach();

    std::string caption_;
    bool enabled_ = true;
    bool visible_ = true;
    PopupMenu* parentMenu_ = nullptr;
};

class PopupMenu : public Component {
public:
    explicit PopupMenu(Component* owner = nullptr);
    ~PopupMenu() override;

    const std::vector<MenuItem*>& Items() const { return items_; }
    void Add(MenuItem& item);
    void Remove(MenuItem& item);

    // Shows the menu with its top-left corner at the screen point and waits until it closes;
    // then runs the chosen item's OnClick.
    void Popup(int screenX, int screenY);

    static const ClassInfo& StaticInfo();
    const ClassInfo& Info() const override { return StaticInfo(); }

private:
    std::vector<MenuItem*> items_;
};

}  // namespace tk
