// Published properties of the controls and forms, and the registry of the toolkit's classes
// that a layout may name.
#include "toolkit/Dialogs.h"
#include "toolkit/Form.h"
#include "toolkit/Layout.h"
#include "toolkit/PopupMenu.h"
#include "toolkit/StdControls.h"
#include "toolkit/Timer.h"

#include <algorithm>

namespace tk {

namespace {

template <typename T>
std::function<std::unique_ptr<Component>(Component*)> Maker() {
    return [](Component* owner) { return std::make_unique<T>(owner); };
}

void SetFontField(Control& c, const std::function<void(Font&)>& change) {
    Font f = c.GetFont();
    change(f);
    c.SetFont(f);
}

const std::vector<std::pair<std::string, Cursor>> kCursorNames = {{"crDefault", crDefault},
                                                                   {"crHandPoint", crHandPoint}};

// Font.Style as a set; fsStrikeOut is read and dropped.
const std::vector<std::pair<std::string, bool Font::*>> kFontStyles = {
    {"fsBold", &Font::bold}, {"fsItalic", &Font::italic}, {"fsUnderline", &Font::underline}};

}  // namespace

LayoutValue ColorValue(Color c) {
    std::string name = ColorName(c);
    return name.empty() ? LayoutValue::Int(static_cast<int32_t>(c)) : LayoutValue::Id(name);
}

Color ColorOf(const LayoutValue& v) {
    if (v.kind != LayoutValue::Kind::Ident) return static_cast<Color>(Int32Value(v));
    Color c;
    if (!ColorFromName(v.text, c)) throw LayoutValueError("unknown colour " + v.text);
    return c;
}

const ClassInfo& Control::StaticInfo() {
    using C = Control;
    static const ClassInfo info{
        "TControl",
        &Component::StaticInfo(),
        {
            IntProperty<C>("Left", &C::Left, &C::SetLeft),
            IntProperty<C>("Top", &C::Top, &C::SetTop),
            IntProperty<C>("Width", &C::Width, &C::SetWidth),
            IntProperty<C>("Height", &C::Height, &C::SetHeight),
            StrProperty<C>("Caption", &C::Caption, &C::SetCaption, std::nullopt,
                           [](const C& c) { return !dynamic_cast<const Edit*>(&c) && !c.Caption().empty(); }),
            Property<C>("Color", [](C& c, const LayoutValue& v) { c.SetColor(ColorOf(v)); },
                        [](const C& c) { return ColorValue(c.GetColor()); }, std::nullopt,
                        [](const C& c) { return c.GetColor() != c.defaultColor_; }),
            Property<C>(
                "Cursor",
                [](C& c, const LayoutValue& v) {
                    if (v.kind != LayoutValue::Kind::Ident) return c.SetCursor(Int32Value(v));
                    for (const auto& [n, value] : kCursorNames)
                        if (n == v.text) return c.SetCursor(value);
                    throw LayoutValueError("unknown cursor " + v.text);
                },
                [](const C& c) {
                    for (const auto& [n, value] : kCursorNames)
                        if (value == c.GetCursor()) return LayoutValue::Id(n);
                    return LayoutValue::Int(c.GetCursor());
                },
                LayoutValue::Id("crDefault")),
            BoolProperty<C>("Enabled", &C::Enabled, &C::SetEnabled, true),
            Property<C>("Font.Color",
                        [](C& c, const LayoutValue& v) { SetFontField(c, [&](Font& f) { f.color = ColorOf(v); }); },
                        [](const C& c) { return ColorValue(c.GetFont().color); }, ColorValue(clWindowText)),
            IntProperty<C>("Font.Size", [](const C& c) { return c.GetFont().size; },
                           [](C& c, int v) { SetFontField(c, [&](Font& f) { f.size = v; }); }, 8),
            Property<C>(
                "Font.Style",
                [](C& c, const LayoutValue& v) {
                    Font f = c.GetFont();
                    for (const auto& [n, field] : kFontStyles) f.*field = false;
                    for (const std::string& s : SetValue(v)) {
                        auto it = std::find_if(kFontStyles.begin(), kFontStyles.end(), [&](const auto& e) { return e.first == s; });
                        if (it != kFontStyles.end()) f.*(it->second) = true;
                        else if (s != "fsStrikeOut") throw LayoutValueError("unknown font style " + s);
                    }
                    c.SetFont(f);
                },
                [](const C& c) {
                    std::vector<std::string> s;
                    for (const auto& [n, field] : kFontStyles)
                        if (c.GetFont().*field) s.push_back(n);
                    return LayoutValue::SetOf(s);
                },
                LayoutValue::SetOf({})),
            StrProperty<C>("Hint", &C::Hint, &C::SetHint, ""),
            BoolProperty<C>("ParentShowHint", &C::ParentShowHint, &C::SetParentShowHint, true),
            Property<C>("PopupMenu", [](C& c, const LayoutValue& v) { c.popupMenu_ = nullptr; c.popupMenuName_ = IdentValue(v); },
                        [](const C& c) { return LayoutValue::Id(c.popupMenuName_); }, std::nullopt,
                        [](const C& c) { return !c.popupMenuName_.empty(); }),
            BoolProperty<C>("ShowHint", &C::ShowHint, &C::SetShowHint, std::nullopt, [](const C& c) { return !c.ParentShowHint(); }),
            BoolProperty<C>("Visible", &C::Visible, &C::SetVisible, std::nullopt,
                            [](const C& c) { return !c.Visible() && !dynamic_cast<const Form*>(&c); }),
            EventProperty<C>("OnClick", &C::OnClick, &EventMethods::notify),
            EventProperty<C>("OnDblClick", &C::OnDblClick, &EventMethods::notify),
            EventProperty<C>("OnMouseDown", &C::OnMouseDown, &EventMethods::mouse),
            EventProperty<C>("OnMouseMove", &C::OnMouseMove, &EventMethods::mouseMove),
            EventProperty<C>("OnMouseUp", &C::OnMouseUp, &EventMethods::mouse),
        },
        nullptr};
    return info;
}

const ClassInfo& GraphicControl::StaticInfo() {
    static const ClassInfo info{"TGraphicControl", &Control::StaticInfo(), {}, nullptr};
    return info;
}

const ClassInfo& WinControl::StaticInfo() {
    using C = WinControl;
    static const ClassInfo info{
        "TWinControl",
        &Control::StaticInfo(),
        {
            IntProperty<C>("TabOrder", &C::TabOrder, &C::SetTabOrder, std::nullopt, [](const C& c) { return c.TabOrder() >= 0; }),
            BoolProperty<C>("TabStop", &C::TabStop, &C::SetTabStop, std::nullopt,
                            [](const C& c) { return c.TabStop() != c.defaultTabStop_; }),
            EventProperty<C>("OnEnter", &C::OnEnter, &EventMethods::notify),
            EventProperty<C>("OnExit", &C::OnExit, &EventMethods::notify),
            EventProperty<C>("OnKeyDown", &C::OnKeyDown, &EventMethods::key),
            EventProperty<C>("OnKeyPress", &C::OnKeyPress, &EventMethods::keyPress),
            EventProperty<C>("OnKeyUp", &C::OnKeyUp, &EventMethods::key),
        },
        nullptr};
    return info;
}

const ClassInfo& CustomControl::StaticInfo() {
    static const ClassInfo info{"TCustomControl", &WinControl::StaticInfo(), {}, nullptr};
    return info;
}

const ClassInfo& Form::StaticInfo() {
    using C = Form;
    static const ClassInfo info{
        "TForm",
        &WinControl::StaticInfo(),
        {
            BoolProperty<C>("AlphaBlend", &C::AlphaBlend, &C::SetAlphaBlend, false),
            IntProperty<C>("AlphaBlendValue", &C::AlphaBlendValue, &C::SetAlphaBlendValue, 255),
            Property<C>("ActiveControl", [](C& c, const LayoutValue& v) { c.activeControlName_ = IdentValue(v); },
                        [](const C& c) { return LayoutValue::Id(c.ActiveControl() ? c.ActiveControl()->Name() : c.activeControlName_); },
                        std::nullopt, [](const C& c) { return c.ActiveControl() || !c.activeControlName_.empty(); }),
            EnumProperty<C, BorderStyle>("BorderStyle", {{"bsNone", BorderStyle::None}, {"bsDialog", BorderStyle::Dialog}},
                                         &C::GetBorderStyle, [](C& c, BorderStyle b) {
                                             // The client area keeps its size when the border changes.
                                             const int w = c.ClientWidth(), h = c.ClientHeight();
                                             c.SetBorderStyle(b);
                                             c.SetClientSize(w, h);
                                         }),
            IntProperty<C>("ClientHeight", &C::ClientHeight, &C::SetClientHeight),
            IntProperty<C>("ClientWidth", &C::ClientWidth, &C::SetClientWidth),
            EnumProperty<C, tk::Position>("Position", {{"poDesigned", Position::Designed}, {"poScreenCenter", Position::ScreenCenter}},
                                          &C::GetPosition, &C::SetPosition, Position::Designed),
            EventProperty<C>("OnCreate", &C::OnCreate, &EventMethods::notify),
            EventProperty<C>("OnDestroy", &C::OnDestroy, &EventMethods::notify),
            EventProperty<C>("OnShow", &C::OnShow, &EventMethods::notify),
            EventProperty<C>("OnCloseQuery", &C::OnCloseQuery, &EventMethods::closeQuery),
        },
        Maker<Form>()};
    return info;
}

const ClassInfo& Image::StaticInfo() {
    using C = Image;
    static const ClassInfo info{
        "TImage",
        &GraphicControl::StaticInfo(),
        {
            Property<C>(
                "Picture.Data",
                [](C& c, const LayoutValue& v) {
                    const std::vector<uint8_t>& bytes = BinaryValue(v);
                    Bitmap b;
                    if (!ReadPictureData(bytes.data(), bytes.size(), b)) throw LayoutValueError("damaged picture data");
                    c.SetPicture(std::move(b));
                    c.pictureData_ = bytes;  // written back as it came (a JPEG stays a JPEG)
                },
                [](const C& c) { return LayoutValue::Bin(c.pictureData_.empty() ? WritePictureBlock(c.Picture()) : c.pictureData_); },
                std::nullopt, [](const C& c) { return !c.Picture().Empty(); }),
            BoolProperty<C>("Transparent", &C::Transparent, &C::SetTransparent, false),
        },
        Maker<Image>()};
    return info;
}

const ClassInfo& Label::StaticInfo() {
    using C = Label;
    static const ClassInfo info{
        "TLabel",
        &GraphicControl::StaticInfo(),
        {
            EnumProperty<C, tk::Alignment>("Alignment",
                                           {{"taLeftJustify", Alignment::LeftJustify}, {"taRightJustify", Alignment::RightJustify}},
                                           &C::GetAlignment, &C::SetAlignment, Alignment::LeftJustify),
            BoolProperty<C>("AutoSize", &C::AutoSize, &C::SetAutoSize, true),
            BoolProperty<C>("Transparent", &C::Transparent, &C::SetTransparent, false),
            BoolProperty<C>("WordWrap", &C::WordWrap, &C::SetWordWrap, false),
        },
        Maker<Label>()};
    return info;
}

const ClassInfo& Bevel::StaticInfo() {
    static const ClassInfo info{
        "TBevel",
        &GraphicControl::StaticInfo(),
        {EnumProperty<Bevel, BevelShape>("Shape", {{"bsTopLine", BevelShape::TopLine}}, &Bevel::Shape, &Bevel::SetShape)},
        Maker<Bevel>()};
    return info;
}

const ClassInfo& Panel::StaticInfo() {
    static const ClassInfo info{
        "TPanel",
        &WinControl::StaticInfo(),
        {EnumProperty<Panel, int>("BevelOuter", {{"bvNone", 0}}, [](const Panel&) { return 0; }, [](Panel&, int) {}, 0)},
        Maker<Panel>()};
    return info;
}

const ClassInfo& Edit::StaticInfo() {
    using C = Edit;
    static const ClassInfo info{
        "TEdit",
        &WinControl::StaticInfo(),
        {
            BoolProperty<C>("Ctl3D", [](const C& c) { return !c.Flat(); }, [](C& c, bool v) { c.SetFlat(!v); }, true),
            BoolProperty<C>("ReadOnly", &C::ReadOnly, &C::SetReadOnly, false),
            StrProperty<C>("Text", &C::Text, &C::SetText, ""),
        },
        Maker<Edit>()};
    return info;
}

const ClassInfo& ListView::StaticInfo() {
    using C = ListView;
    static const ClassInfo info{
        "TListView",
        &WinControl::StaticInfo(),
        {
            BoolProperty<C>("ColumnClick", &C::ColumnClick, &C::SetColumnClick, false),
            Property<C>(
                "Columns",
                [](C& c, const LayoutValue& v) {
                    const std::vector<std::string>& items = ListValue(v);
                    if (items.size() % 2 != 0) throw LayoutValueError("columns need a caption and a width each");
                    std::vector<ListColumn> cols;
                    for (size_t i = 0; i < items.size(); i += 2) {
                        int width = 0;
                        try {
                            width = std::stoi(items[i + 1]);
                        } catch (const std::exception&) {
                            throw LayoutValueError("bad column width " + items[i + 1]);
                        }
                        cols.push_back({items[i], width});
                    }
                    c.SetColumns(std::move(cols));
                },
                [](const C& c) {
                    std::vector<std::string> items;
                    for (const ListColumn& col : c.Columns()) {
                        items.push_back(col.caption);
                        items.push_back(std::to_string(col.width));
                    }
                    return LayoutValue::ListOf(items);
                },
                std::nullopt, [](const C& c) { return !c.Columns().empty(); }),
            BoolProperty<C>("ReadOnly", &C::ReadOnly, &C::SetReadOnly, true),
            BoolProperty<C>("RowSelect", &C::RowSelect, &C::SetRowSelect, true),
            EnumProperty<C, int>("ViewStyle", {{"vsReport", 0}}, [](const C&) { return 0; }, [](C&, int) {}, 0),
        },
        Maker<ListView>()};
    return info;
}

const ClassInfo& Button::StaticInfo() {
    using C = Button;
    static const ClassInfo info{
        "TButton",
        &WinControl::StaticInfo(),
        {
            BoolProperty<C>("Cancel", &C::Cancel, &C::SetCancel, false),
            BoolProperty<C>("Default", &C::Default, &C::SetDefault, false),
            IntProperty<C>("ModalResult", &C::ModalResult, &C::SetModalResult, 0),
        },
        Maker<Button>()};
    return info;
}

const ClassInfo& RadioButton::StaticInfo() {
    static const ClassInfo info{"TRadioButton",
                                &WinControl::StaticInfo(),
                                {BoolProperty<RadioButton>("Checked", &RadioButton::Checked, &RadioButton::SetChecked, false)},
                                Maker<RadioButton>()};
    return info;
}

void RegisterToolkitClasses() {
    for (const ClassInfo* info :
         {&Component::StaticInfo(), &Timer::StaticInfo(), &PopupMenu::StaticInfo(), &MenuItem::StaticInfo(),
          &OpenDialog::StaticInfo(), &Form::StaticInfo(), &Image::StaticInfo(), &Label::StaticInfo(), &Bevel::StaticInfo(),
          &Panel::StaticInfo(), &Edit::StaticInfo(), &ListView::StaticInfo(), &Button::StaticInfo(), &RadioButton::StaticInfo()})
        RegisterClass(*info);
}

}  // namespace tk
