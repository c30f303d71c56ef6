// Published properties of the controls and forms, and their registration for layouts.
#include "toolkit/Bevel.h"
#include "toolkit/Button.h"
#include "toolkit/Edit.h"
#include "toolkit/Form.h"
#include "toolkit/Image.h"
#include "toolkit/Label.h"
#include "toolkit/Layout.h"
#include "toolkit/ListView.h"
#include "toolkit/Panel.h"
#include "toolkit/PopupMenu.h"

#include <algorithm>

namespace tk {

// Helpers that turn getters and setters into PropertyInfo entries.
struct ControlProps {
    template <typename C>
    static PropertyInfo Int(std::string name, std::function<int(const C&)> get, std::function<void(C&, int)> set,
                            std::optional<int> def = std::nullopt,
                            std::function<bool(const C&)> stored = nullptr) {
        return Property<C>(
            std::move(name), [set](C& c, const LayoutValue& v) { set(c, Int32Value(v)); },
            [get](const C& c) { return LayoutValue::Int(get(c)); },
            def ? std::optional<LayoutValue>(LayoutValue::Int(*def)) : std::nullopt, std::move(stored));
    }

    template <typename C>
    static PropertyInfo Bool(std::string name, std::function<bool(const C&)> get, std::function<void(C&, bool)> set,
                             std::optional<bool> def = std::nullopt,
                             std::function<bool(const C&)> stored = nullptr) {
        return Property<C>(
            std::move(name), [set](C& c, const LayoutValue& v) { set(c, BoolValue(v)); },
            [get](const C& c) { return LayoutValue::Bool(get(c)); },
            def ? std::optional<LayoutValue>(LayoutValue::Bool(*def)) : std::nullopt, std::move(stored));
    }

    template <typename C>
    static PropertyInfo Str(std::string name, std::function<std::string(const C&)> get,
                            std::function<void(C&, std::string)> set, std::optional<std::string> def = std::nullopt,
                            std::function<bool(const C&)> stored = nullptr) {
        return Property<C>(
            std::move(name), [set](C& c, const LayoutValue& v) { set(c, StringValue(v)); },
            [get](const C& c) { return LayoutValue::Str(get(c)); },
            def ? std::optional<LayoutValue>(LayoutValue::Str(*def)) : std::nullopt, std::move(stored));
    }

    template <typename C, typename E>
    static PropertyInfo Enum(std::string name, std::vector<std::pair<std::string, E>> names,
                             std::function<E(const C&)> get, std::function<void(C&, E)> set,
                             std::optional<E> def = std::nullopt) {
        auto nameOf = [names](E e) {
            for (const auto& [n, v] : names)
                if (v == e) return n;
            return names.front().first;
        };
        return Property<C>(
            std::move(name),
            [names, set](C& c, const LayoutValue& v) {
                const std::string& id = IdentValue(v);
                for (const auto& [n, e] : names) {
                    if (n == id) {
                        set(c, e);
                        return;
                    }
                }
                throw LayoutValueError("unknown value " + id);
            },
            [get, nameOf](const C& c) { return LayoutValue::Id(nameOf(get(c))); },
            def ? std::optional<LayoutValue>(LayoutValue::Id(nameOf(*def))) : std::nullopt);
    }

    static LayoutValue ColorValue(Color c) {
        std::string name = ColorName(c);
        return name.empty() ? LayoutValue::Int(static_cast<int32_t>(c)) : LayoutValue::Id(name);
    }
    static Color ColorOf(const LayoutValue& v) {
        if (v.kind == LayoutValue::Kind::Ident) {
            Color c;
            if (!ColorFromName(v.text, c)) throw LayoutValueError("unknown colour " + v.text);
            return c;
        }
        return static_cast<Color>(Int32Value(v));
    }

    static ClassInfo ControlInfo();
    static ClassInfo WinControlInfo();
    static ClassInfo FormInfo();
};

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

}  // namespace

ClassInfo ControlProps::ControlInfo() {
    using C = Control;
    ClassInfo info;
    info.name = "TControl";
    info.base = &Component::StaticInfo();
    auto& p = info.properties;
    p.push_back(Int<C>("Left", [](const C& c) { return c.Left(); }, [](C& c, int v) { c.SetLeft(v); }));
    p.push_back(Int<C>("Top", [](const C& c) { return c.Top(); }, [](C& c, int v) { c.SetTop(v); }));
    p.push_back(Int<C>("Width", [](const C& c) { return c.Width(); }, [](C& c, int v) { c.SetWidth(v); }));
    p.push_back(Int<C>("Height", [](const C& c) { return c.Height(); }, [](C& c, int v) { c.SetHeight(v); }));
    p.push_back(Str<C>("Caption", [](const C& c) { return c.Caption(); }, [](C& c, std::string v) { c.SetCaption(std::move(v)); },
                       std::nullopt, [](const C& c) { return !dynamic_cast<const Edit*>(&c) && !c.Caption().empty(); }));
    p.push_back(Property<C>(
        "Color", [](C& c, const LayoutValue& v) { c.SetColor(ColorOf(v)); },
        [](const C& c) { return ColorValue(c.GetColor()); }, std::nullopt,
        [](const C& c) { return c.GetColor() != c.defaultColor_; }));
    p.push_back(Property<C>(
        "Cursor",
        [](C& c, const LayoutValue& v) {
            static const std::vector<std::pair<std::string, Cursor>> names = {
                {"crDefault", crDefault}, {"crHandPoint", crHandPoint}};
            if (v.kind != LayoutValue::Kind::Ident) return c.SetCursor(Int32Value(v));
            for (const auto& [n, value] : names)
                if (n == v.text) return c.SetCursor(value);
            throw LayoutValueError("unknown cursor " + v.text);
        },
        [](const C& c) {
            switch (c.GetCursor()) {
                case crDefault: return LayoutValue::Id("crDefault");
                case crHandPoint: return LayoutValue::Id("crHandPoint");
                default: return LayoutValue::Int(c.GetCursor());
            }
        },
        LayoutValue::Id("crDefault")));
    p.push_back(Bool<C>("Enabled", [](const C& c) { return c.Enabled(); }, [](C& c, bool v) { c.SetEnabled(v); }, true));
    p.push_back(Property<C>(
        "Font.Color", [](C& c, const LayoutValue& v) { SetFontField(c, [&](Font& f) { f.color = ColorOf(v); }); },
        [](const C& c) { return ColorValue(c.GetFont().color); }, ColorValue(clWindowText)));
    p.push_back(Int<C>("Font.Size", [](const C& c) { return c.GetFont().size; },
                       [](C& c, int v) { SetFontField(c, [&](Font& f) { f.size = v; }); }, 8));
    p.push_back(Property<C>(
        "Font.Style",
        [](C& c, const LayoutValue& v) {
            Font f = c.GetFont();
            f.bold = f.italic = f.underline = false;
            for (const std::string& s : SetValue(v)) {
                if (s == "fsBold") f.bold = true;
                else if (s == "fsItalic") f.italic = true;
                else if (s == "fsUnderline") f.underline = true;
                else if (s != "fsStrikeOut") throw LayoutValueError("unknown font style " + s);
            }
            c.SetFont(f);
        },
        [](const C& c) {
            std::vector<std::string> s;
            if (c.GetFont().bold) s.push_back("fsBold");
            if (c.GetFont().italic) s.push_back("fsItalic");
            if (c.GetFont().underline) s.push_back("fsUnderline");
            return LayoutValue::SetOf(s);
        },
        LayoutValue::SetOf({})));
    p.push_back(Str<C>("Hint", [](const C& c) { return c.Hint(); }, [](C& c, std::string v) { c.SetHint(std::move(v)); }, ""));
    p.push_back(Bool<C>("ParentShowHint", [](const C& c) { return c.ParentShowHint(); },
                        [](C& c, bool v) { c.SetParentShowHint(v); }, true));
    p.push_back(Property<C>(
        "PopupMenu", [](C& c, const LayoutValue& v) { c.popupMenu_ = nullptr; c.popupMenuName_ = IdentValue(v); },
        [](const C& c) { return LayoutValue::Id(c.popupMenuName_); }, std::nullopt,
        [](const C& c) { return !c.popupMenuName_.empty(); }));
    p.push_back(Bool<C>("ShowHint", [](const C& c) { return c.ShowHint(); }, [](C& c, bool v) { c.SetShowHint(v); },
                        std::nullopt, [](const C& c) { return !c.ParentShowHint(); }));
    p.push_back(Bool<C>("Visible", [](const C& c) { return c.Visible(); }, [](C& c, bool v) { c.SetVisible(v); },
                        std::nullopt, [](const C& c) { return !c.Visible() && !dynamic_cast<const Form*>(&c); }));
    p.push_back(EventProperty<C, NotifyEvent>("OnClick", &C::OnClick, &EventMethods::notify));
    p.push_back(EventProperty<C, NotifyEvent>("OnDblClick", &C::OnDblClick, &EventMethods::notify));
    p.push_back(EventProperty<C, MouseEvent>("OnMouseDown", &C::OnMouseDown, &EventMethods::mouse));
    p.push_back(EventProperty<C, MouseMoveEvent>("OnMouseMove", &C::OnMouseMove, &EventMethods::mouseMove));
    p.push_back(EventProperty<C, MouseEvent>("OnMouseUp", &C::OnMouseUp, &EventMethods::mouse));
    return info;
}

ClassInfo ControlProps::WinControlInfo() {
    using C = WinControl;
    ClassInfo info;
    info.name = "TWinControl";
    info.base = &Control::StaticInfo();
    auto& p = info.properties;
    p.push_back(Int<C>("TabOrder", [](const C& c) { return c.TabOrder(); }, [](C& c, int v) { c.SetTabOrder(v); },
                       std::nullopt, [](const C& c) { return c.TabOrder() >= 0; }));
    p.push_back(Bool<C>("TabStop", [](const C& c) { return c.TabStop(); }, [](C& c, bool v) { c.SetTabStop(v); },
                        std::nullopt, [](const C& c) { return c.TabStop() != c.defaultTabStop_; }));
    p.push_back(EventProperty<C, NotifyEvent>("OnEnter", &C::OnEnter, &EventMethods::notify));
    p.push_back(EventProperty<C, NotifyEvent>("OnExit", &C::OnExit, &EventMethods::notify));
    p.push_back(EventProperty<C, KeyEvent>("OnKeyDown", &C::OnKeyDown, &EventMethods::key));
    p.push_back(EventProperty<C, KeyPressEvent>("OnKeyPress", &C::OnKeyPress, &EventMethods::keyPress));
    p.push_back(EventProperty<C, KeyEvent>("OnKeyUp", &C::OnKeyUp, &EventMethods::key));
    return info;
}

ClassInfo ControlProps::FormInfo() {
    using C = Form;
    ClassInfo info;
    info.name = "TForm";
    info.base = &WinControl::StaticInfo();
    info.create = Maker<Form>();
    auto& p = info.properties;
    p.push_back(Bool<C>("AlphaBlend", [](const C& c) { return c.AlphaBlend(); }, [](C& c, bool v) { c.SetAlphaBlend(v); }, false));
    p.push_back(Int<C>("AlphaBlendValue", [](const C& c) { return c.AlphaBlendValue(); },
                       [](C& c, int v) { c.SetAlphaBlendValue(v); }, 255));
    p.push_back(Property<C>(
        "ActiveControl", [](C& c, const LayoutValue& v) { c.activeControlName_ = IdentValue(v); },
        [](const C& c) { return LayoutValue::Id(c.ActiveControl() ? c.ActiveControl()->Name() : c.activeControlName_); },
        std::nullopt, [](const C& c) { return c.ActiveControl() || !c.activeControlName_.empty(); }));
    p.push_back(Enum<C, BorderStyle>(
        "BorderStyle",
        {{"bsNone", BorderStyle::None}, {"bsDialog", BorderStyle::Dialog}},
        [](const C& c) { return c.GetBorderStyle(); },
        [](C& c, BorderStyle b) {
            // The client area keeps its size when the border changes.
            const int w = c.ClientWidth(), h = c.ClientHeight();
            c.SetBorderStyle(b);
            c.SetClientSize(w, h);
        }));
    p.push_back(Int<C>("ClientHeight", [](const C& c) { return c.ClientHeight(); }, [](C& c, int v) { c.SetClientHeight(v); }));
    p.push_back(Int<C>("ClientWidth", [](const C& c) { return c.ClientWidth(); }, [](C& c, int v) { c.SetClientWidth(v); }));
    p.push_back(Enum<C, tk::Position>(
        "Position",
        {{"poDesigned", tk::Position::Designed}, {"poScreenCenter", tk::Position::ScreenCenter}},
        [](const C& c) { return c.GetPosition(); }, [](C& c, tk::Position v) { c.SetPosition(v); },
        tk::Position::Designed));
    p.push_back(EventProperty<C, NotifyEvent>("OnCreate", &C::OnCreate, &EventMethods::notify));
    p.push_back(EventProperty<C, NotifyEvent>("OnDestroy", &C::OnDestroy, &EventMethods::notify));
    p.push_back(EventProperty<C, NotifyEvent>("OnShow", &C::OnShow, &EventMethods::notify));
    p.push_back(EventProperty<C, std::function<void(Component*, bool&)>>("OnCloseQuery", &C::OnCloseQuery, &EventMethods::closeQuery));
    return info;
}

const ClassInfo& Control::StaticInfo() {
    static const ClassInfo info = ControlProps::ControlInfo();
    return info;
}

const ClassInfo& GraphicControl::StaticInfo() {
    static const ClassInfo info{"TGraphicControl", &Control::StaticInfo(), {}, nullptr};
    return info;
}

const ClassInfo& WinControl::StaticInfo() {
    static const ClassInfo info = ControlProps::WinControlInfo();
    return info;
}

const ClassInfo& CustomControl::StaticInfo() {
    static const ClassInfo info{"TCustomControl", &WinControl::StaticInfo(), {}, nullptr};
    return info;
}

const ClassInfo& Form::StaticInfo() {
    static const ClassInfo info = ControlProps::FormInfo();
    return info;
}

const ClassInfo& Image::StaticInfo() {
    using C = Image;
    using P = ControlProps;
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
                [](const C& c) {
                    return LayoutValue::Bin(c.pictureData_.empty() ? WritePictureBlock(c.Picture()) : c.pictureData_);
                },
                std::nullopt, [](const C& c) { return !c.Picture().Empty(); }),
            P::Bool<C>("Transparent", [](const C& c) { return c.Transparent(); }, [](C& c, bool v) { c.SetTransparent(v); }, false),
        },
        Maker<Image>()};
    return info;
}

const ClassInfo& Label::StaticInfo() {
    using C = Label;
    using P = ControlProps;
    static const ClassInfo info{
        "TLabel",
        &GraphicControl::StaticInfo(),
        {
            P::Enum<C, tk::Alignment>(
                "Alignment",
                {{"taLeftJustify", tk::Alignment::LeftJustify}, {"taRightJustify", tk::Alignment::RightJustify}},
                [](const C& c) { return c.GetAlignment(); }, [](C& c, tk::Alignment a) { c.SetAlignment(a); },
                tk::Alignment::LeftJustify),
            P::Bool<C>("AutoSize", [](const C& c) { return c.AutoSize(); }, [](C& c, bool v) { c.SetAutoSize(v); }, true),
            P::Bool<C>("Transparent", [](const C& c) { return c.Transparent(); }, [](C& c, bool v) { c.SetTransparent(v); }, false),
            P::Bool<C>("WordWrap", [](const C& c) { return c.WordWrap(); }, [](C& c, bool v) { c.SetWordWrap(v); }, false),
        },
        Maker<Label>()};
    return info;
}

const ClassInfo& Bevel::StaticInfo() {
    using C = Bevel;
    using P = ControlProps;
    static const ClassInfo info{
        "TBevel",
        &GraphicControl::StaticInfo(),
        {
            P::Enum<C, BevelShape>("Shape",
                                   {{"bsTopLine", BevelShape::TopLine}},
                                   [](const C& c) { return c.Shape(); }, [](C& c, BevelShape s) { c.SetShape(s); }),
        },
        Maker<Bevel>()};
    return info;
}

const ClassInfo& Panel::StaticInfo() {
    using C = Panel;
    using P = ControlProps;
    static const ClassInfo info{
        "TPanel",
        &WinControl::StaticInfo(),
        {
            P::Enum<C, int>("BevelOuter", {{"bvNone", 0}}, [](const C&) { return 0; }, [](C&, int) {}, 0),
        },
        Maker<Panel>()};
    return info;
}

const ClassInfo& Edit::StaticInfo() {
    using C = Edit;
    using P = ControlProps;
    static const ClassInfo info{
        "TEdit",
        &WinControl::StaticInfo(),
        {
            P::Bool<C>("Ctl3D", [](const C& c) { return !c.Flat(); }, [](C& c, bool v) { c.SetFlat(!v); }, true),
            P::Bool<C>("ReadOnly", [](const C& c) { return c.ReadOnly(); }, [](C& c, bool v) { c.SetReadOnly(v); }, false),
            P::Str<C>("Text", [](const C& c) { return c.Text(); }, [](C& c, std::string v) { c.SetText(std::move(v)); }, ""),
        },
        Maker<Edit>()};
    return info;
}

const ClassInfo& ListView::StaticInfo() {
    using C = ListView;
    using P = ControlProps;
    static const ClassInfo info{
        "TListView",
        &WinControl::StaticInfo(),
        {
            P::Bool<C>("ColumnClick", [](const C& c) { return c.ColumnClick(); }, [](C& c, bool v) { c.SetColumnClick(v); }, false),
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
            P::Bool<C>("ReadOnly", [](const C& c) { return c.ReadOnly(); }, [](C& c, bool v) { c.SetReadOnly(v); }, true),
            P::Bool<C>("RowSelect", [](const C& c) { return c.RowSelect(); }, [](C& c, bool v) { c.SetRowSelect(v); }, true),
            P::Enum<C, int>("ViewStyle", {{"vsReport", 0}}, [](const C&) { return 0; }, [](C&, int) {}, 0),
        },
        Maker<ListView>()};
    return info;
}

const ClassInfo& Button::StaticInfo() {
    using C = Button;
    using P = ControlProps;
    static const ClassInfo info{
        "TButton",
        &WinControl::StaticInfo(),
        {
            P::Bool<C>("Cancel", [](const C& c) { return c.Cancel(); }, [](C& c, bool v) { c.SetCancel(v); }, false),
            P::Bool<C>("Default", [](const C& c) { return c.Default(); }, [](C& c, bool v) { c.SetDefault(v); }, false),
            P::Int<C>("ModalResult", [](const C& c) { return c.ModalResult(); }, [](C& c, int v) { c.SetModalResult(v); }, 0),
        },
        Maker<Button>()};
    return info;
}

const ClassInfo& RadioButton::StaticInfo() {
    using C = RadioButton;
    using P = ControlProps;
    static const ClassInfo info{
        "TRadioButton",
        &WinControl::StaticInfo(),
        {
            P::Bool<C>("Checked", [](const C& c) { return c.Checked(); }, [](C& c, bool v) { c.SetChecked(v); }, false),
        },
        Maker<RadioButton>()};
    return info;
}

void RegisterStandardClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterClass(Form::StaticInfo());
    RegisterClass(Image::StaticInfo());
    RegisterClass(Label::StaticInfo());
    RegisterClass(Bevel::StaticInfo());
    RegisterClass(Panel::StaticInfo());
    RegisterClass(Edit::StaticInfo());
    RegisterClass(ListView::StaticInfo());
    RegisterClass(Button::StaticInfo());
    RegisterClass(RadioButton::StaticInfo());
}

}  // namespace tk
