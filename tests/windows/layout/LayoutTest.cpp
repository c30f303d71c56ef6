// The layout format: reading, writing, storing rules and faults reported with their lines.
#include "toolkit/Layout.h"
#include "toolkit/OpenDialog.h"
#include "toolkit/PopupMenu.h"
#include "toolkit/Timer.h"

#include <commdlg.h>
#include <gtest/gtest.h>

#include <map>

namespace {

using tk::LayoutValue;

std::vector<std::string> g_log;  // Loaded() calls and destructions, in order

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

const tk::ClassInfo& Thing::StaticInfo() {
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

const tk::ClassInfo& BigThing::StaticInfo() {
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

std::vector<uint8_t> AllBytes(size_t n) {
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(i * 7 + 3);
    return v;
}

TEST_F(LayoutTest, EveryKindOfValueSurvivesAWriteAndARead) {
    Thing a;
    a.SetName("Form1");
    a.count = -2147483649LL;
    std::string every;
    for (int c = 1; c < 256; ++c) every += static_cast<char>(c);
    a.caption = "it's " + every;
    a.style = "stCustom";
    a.flags = {"fsBold", "fsItalic"};
    a.data = AllBytes(100);  // more than one hex line
    a.lines = {"first", "", "Caf\xE9 'quoted'", "#not a code"};
    a.mode = 0;  // stored under stCustom even at its default
    a.Tag = -7;

    std::string text = tk::SaveComponent(a);
    Thing b;
    tk::LayoutResult r = tk::LoadLayout(b, text, nullptr);
    ASSERT_TRUE(r) << r.message << "\n" << text;
    EXPECT_EQ(b.Name(), "Form1");
    EXPECT_EQ(b.count, a.count);
    EXPECT_EQ(b.caption, a.caption);
    EXPECT_EQ(b.style, "stCustom");
    EXPECT_EQ(b.flags, a.flags);
    EXPECT_EQ(b.data, a.data);
    EXPECT_EQ(b.lines, a.lines);
    EXPECT_EQ(b.Tag, -7);
    EXPECT_NE(text.find("Mode = 0"), std::string::npos) << text;
    // Written again, the text is the same: nothing drifts through a round trip.
    EXPECT_EQ(tk::SaveComponent(b), text);
}

TEST_F(LayoutTest, WriterFormat) {
    Thing a;
    a.SetName("Image1");
    a.caption = "Gr\xFC\xDF" "e 'x'";
    a.flags = {"a", "b"};
    a.data = AllBytes(40);
    a.lines = {"one", "two"};
    a.secret = 42;
    std::string text = tk::SaveComponent(a);
    EXPECT_EQ(text,
              "object Image1: TThing\n"
              "  Caption = 'Gr'#252#223'e ''x'''\n"
              "  Flags = [a, b]\n"
              "  Picture.Data = {\n"
              "    030A11181F262D343B424950575E656C737A81888F969DA4ABB2B9C0C7CED5DC\n"
              "    E3EAF1F8FF060D14}\n"
              "  Lines = (\n"
              "    'one'\n"
              "    'two')\n"
              "end\n");
}

TEST_F(LayoutTest, StoringRules) {
    Thing a;
    a.SetName("T");
    std::string plain = tk::SaveComponent(a);
    // No declared default: always stored. Defaults, "stored when" false and never-stored: not.
    EXPECT_EQ(plain, "object T: TThing\n  Caption = ''\nend\n");

    a.count = 5;
    a.secret = 9;                 // never stored
    a.mode = 4;                   // stored only under stCustom
    a.data = {1};                 // stored when not empty
    std::string text = tk::SaveComponent(a);
    EXPECT_NE(text.find("Count = 5"), std::string::npos);
    EXPECT_EQ(text.find("Secret"), std::string::npos);
    EXPECT_EQ(text.find("Mode"), std::string::npos);
    EXPECT_NE(text.find("Picture.Data = {\n    01}"), std::string::npos) << text;

    a.style = "stCustom";
    EXPECT_NE(tk::SaveComponent(a).find("Mode = 4"), std::string::npos);
}

TEST_F(LayoutTest, BaseClassPropertiesComeFirstAndNamesIgnoreCase) {
    std::vector<std::string> names;
    for (const tk::PropertyInfo* p : BigThing::StaticInfo().All()) names.push_back(p->name);
    ASSERT_GE(names.size(), 3u);
    EXPECT_EQ(names[0], "Name");
    EXPECT_EQ(names[1], "Tag");
    EXPECT_EQ(names.back(), "Size");
    EXPECT_NE(BigThing::StaticInfo().Find("picture.data"), nullptr);
    EXPECT_EQ(BigThing::StaticInfo().Find("Nothing"), nullptr);
    EXPECT_EQ(tk::FindClass("tbigthing"), tk::FindClass("TBigThing"));
    EXPECT_NE(tk::FindClass("TTimer"), nullptr);
    EXPECT_EQ(tk::FindClass("TNoSuchThing"), nullptr);
}

const char kTree[] =
    "object Root: TThing\n"
    "  Caption = 'root'\n"
    "  object A: TThing\n"
    "    Caption = 'a'\n"
    "    object B: TBigThing\n"
    "      Caption = 'b'\n"
    "      Size = 8\n"
    "    end\n"
    "  end\n"
    "  object C: TThing\n"
    "    Caption = 'c'\n"
    "  end\n"
    "end\n";

TEST_F(LayoutTest, NestedObjectsAreOwnedByTheRootAndParentedByTheEnclosingObject) {
    {
        Thing root;
        tk::LayoutResult r = tk::LoadLayout(root, kTree, nullptr);
        ASSERT_TRUE(r) << r.message;
        ASSERT_EQ(root.Components().size(), 3u);
        auto* a = tk::Find<Thing>(root, "A");
        auto* b = tk::Find<BigThing>(root, "b");  // names ignore case
        auto* c = tk::Find<Thing>(root, "C");
        ASSERT_TRUE(a && b && c);
        EXPECT_EQ(a->parent, &root);
        EXPECT_EQ(b->parent, a);
        EXPECT_EQ(c->parent, &root);
        EXPECT_EQ(b->Owner(), &root);
        EXPECT_EQ(b->size, 8);
        EXPECT_EQ(root.caption, "root");
        EXPECT_EQ(g_log, (std::vector<std::string>{"Loaded A", "Loaded B", "Loaded C", "Loaded Root"}));
        EXPECT_EQ(tk::SaveComponent(root), kTree);
        g_log.clear();
    }
    // The owner's own destructor runs first; then the base frees what it owns, last adopted first.
    EXPECT_EQ(g_log, (std::vector<std::string>{"~Root", "~C", "~B", "~A"}));
}

TEST_F(LayoutTest, PicturesAreFetchedAndWrappedIntoBlocks) {
    std::map<std::string, std::vector<uint8_t>> files = {{"logo.bmp", {'B', 'M', 1, 2, 3}}};
    tk::PictureResolver resolve = [&](const std::string& name) -> std::optional<std::vector<uint8_t>> {
        auto it = files.find(name);
        if (it == files.end()) return std::nullopt;
        return it->second;
    };
    Thing root;
    tk::LayoutResult r = tk::LoadLayout(root, "object X: TThing\n  Picture.Data = @logo.bmp\nend\n", resolve);
    ASSERT_TRUE(r) << r.message;
    EXPECT_EQ(root.data, (std::vector<uint8_t>{5, 0, 0, 0, 'B', 'M', 1, 2, 3}));

    Thing other;
    r = tk::LoadLayout(other, "object X: TThing\n\n  Picture.Data = @missing.jpg\nend\n", resolve);
    EXPECT_FALSE(r);
    EXPECT_EQ(r.line, 3);
    EXPECT_NE(r.message.find("missing.jpg"), std::string::npos) << r.message;
}

TEST_F(LayoutTest, ValueSyntax) {
    Thing root;
    tk::LayoutResult r = tk::LoadLayout(root,
                                        "object X: TThing\n"
                                        "  Count = $7FFFFFFFFFFFFFFF\n"
                                        "  Caption = 'long '\n"
                                        "    + 'line'#13#10 +\n"
                                        "    'next'  // a comment\n"
                                        "  Flags = [ ]\n"
                                        "  Lines = ()\n"
                                        "  Picture.Data = {}\n"
                                        "end",
                                        nullptr);
    ASSERT_TRUE(r) << r.message;
    EXPECT_EQ(root.count, INT64_MAX);
    EXPECT_EQ(root.caption, "long line\r\nnext");
    EXPECT_TRUE(root.flags.empty());
    EXPECT_TRUE(root.lines.empty());

    r = tk::LoadLayout(root, "object X: TThing\n  Count = -9223372036854775808\nend", nullptr);
    ASSERT_TRUE(r) << r.message;
    EXPECT_EQ(root.count, INT64_MIN);
}

struct BadLayout {
    const char* what;
    const char* text;
    int line;
    const char* says;
};

TEST_F(LayoutTest, FaultsAreReportedWithTheirLineAndNeverCrash) {
    const BadLayout cases[] = {
        {"empty", "", 1, "empty"},
        {"no object", "thing X: TThing\nend", 1, "\"object\" expected"},
        {"unterminated string", "object X: TThing\n  Caption = 'abc\nend\n", 2, "unterminated string"},
        {"string cut by the end", "object X: TThing\n  Caption = 'abc", 2, "unterminated string"},
        {"bad hex", "object X: TThing\n  Picture.Data = {\n    0A1G}\nend", 3, "bad hex digit \"G\""},
        {"odd hex", "object X: TThing\n  Picture.Data = {0A1}\nend", 2, "odd number"},
        {"binary cut by the end", "object X: TThing\n  Picture.Data = {\n    0A1B\n", 2, "unterminated binary"},
        {"unknown class", "object X: TThing\n  Caption = ''\n  object Y: TNothing\n  end\nend", 3,
         "unknown class \"TNothing\""},
        {"unknown property", "object X: TThing\n  Colour = 3\nend", 2, "unknown property \"Colour\" of TThing"},
        {"unknown property of a child",
         "object X: TThing\n  object Y: TBigThing\n    Size = 1\n    Width = 2\n  end\nend", 4,
         "unknown property \"Width\" of TBigThing"},
        {"wrong kind of value", "object X: TThing\n  Count = 'seven'\nend", 2, "bad value for Count"},
        {"missing end", "object X: TThing\n  Count = 1\n", 3, "\"end\" of X missing"},
        {"missing end of a child", "object X: TThing\n  object Y: TThing\n  end\n", 4, "\"end\" of X missing"},
        {"missing equals", "object X: TThing\n  Count 1\nend", 2, "\"=\" expected"},
        {"missing value", "object X: TThing\n  Count =\n", 3, "value expected"},
        {"number too big", "object X: TThing\n  Count = 9223372036854775808\nend", 2, "out of range"},
        {"bad number", "object X: TThing\n  Count = 1.5\nend", 2, "bad number"},
        {"character code too big", "object X: TThing\n  Caption = #256\nend", 2, "out of range"},
        {"unterminated set", "object X: TThing\n  Flags = [a, b\n", 2, "unterminated set"},
        {"set separator", "object X: TThing\n  Flags = [a b]\nend", 2, "\",\" or \"]\""},
        {"unterminated list", "object X: TThing\n  Lines = (\n    'a'\n", 2, "unterminated list"},
        {"number in a list", "object X: TThing\n  Lines = (1)\nend", 2, "a string expected"},
        {"duplicate name", "object X: TThing\n  object Y: TThing\n  end\n  object Y: TThing\n  end\nend", 4,
         "already exists"},
        {"text after the end", "object X: TThing\nend\nobject Y: TThing\nend", 3, "after the end"},
        {"picture without resolver", "object X: TThing\n  Picture.Data = @a.bmp\nend", 2, "@a.bmp"},
        {"stray character", "object X: TThing\n  Count = 1\n  ?\nend", 3, "found \"?\""},
    };
    for (const BadLayout& c : cases) {
        Thing root;
        tk::LayoutResult r = tk::LoadLayout(root, c.text, nullptr);
        EXPECT_FALSE(r) << c.what;
        EXPECT_EQ(r.line, c.line) << c.what << ": " << r.message;
        EXPECT_NE(r.message.find(c.says), std::string::npos) << c.what << ": " << r.message;
        EXPECT_EQ(r.message.rfind("line " + std::to_string(c.line) + ": ", 0), 0u) << r.message;
    }
    std::string deep = "object X: TThing\n";
    for (int i = 0; i < 1000; ++i) deep += "object T" + std::to_string(i) + ": TThing\n";
    Thing root;
    tk::LayoutResult r = tk::LoadLayout(root, deep, nullptr);
    EXPECT_FALSE(r);
    EXPECT_NE(r.message.find("nested too deeply"), std::string::npos) << r.message;

    // Nothing is announced as loaded when the layout failed.
    for (const std::string& entry : g_log) EXPECT_EQ(entry.rfind("Loaded", 0), std::string::npos) << entry;
}

TEST_F(LayoutTest, EveryTruncationOfAGoodLayoutIsAFaultNotACrash) {
    Thing a;
    a.SetName("Form1");
    a.caption = "x'y\xE4";
    a.flags = {"f"};
    a.data = AllBytes(50);
    a.lines = {"l1", "l2"};
    auto child = std::make_unique<BigThing>(&a);
    child->SetName("Kid");
    child->parent = &a;
    a.Adopt(std::move(child));
    std::string text = tk::SaveComponent(a);
    for (size_t n = 0; n + 4 < text.size(); ++n) {  // "end\n" cut in part still parses as far as it can
        Thing root;
        tk::LayoutResult r = tk::LoadLayout(root, std::string_view(text).substr(0, n), nullptr);
        EXPECT_FALSE(r) << n;
        EXPECT_GE(r.line, 1);
    }
}

TEST_F(LayoutTest, ToolkitComponentsFromALayout) {
    tk::Component form;
    tk::LayoutResult r = tk::LoadLayout(form,
                                        "object Form2: TComponent\n"
                                        "  object Timer1: TTimer\n"
                                        "    Enabled = False\n"
                                        "    Interval = 250\n"
                                        "  end\n"
                                        "  object OpenDialog1: TOpenDialog\n"
                                        "    Filter = 'Google Video (*.GVI)|*.gvi'\n"
                                        "    Options = [ofHideReadOnly, ofAllowMultiSelect, ofEnableSizing]\n"
                                        "  end\n"
                                        "  object PopupMenu4: TPopupMenu\n"
                                        "    object Contents1: TMenuItem\n"
                                        "      Caption = '&Contents'\n"
                                        "    end\n"
                                        "    object MenuItem1: TMenuItem\n"
                                        "      Caption = '-'\n"
                                        "    end\n"
                                        "    object More1: TMenuItem\n"
                                        "      Caption = 'More'\n"
                                        "      Enabled = False\n"
                                        "    end\n"
                                        "  end\n"
                                        "end\n",
                                        nullptr);
    ASSERT_TRUE(r) << r.message;
    auto* timer = tk::Find<tk::Timer>(form, "Timer1");
    ASSERT_TRUE(timer);
    EXPECT_FALSE(timer->Enabled());
    EXPECT_EQ(timer->Interval(), 250u);
    auto* dialog = tk::Find<tk::OpenDialog>(form, "OpenDialog1");
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->Filter, "Google Video (*.GVI)|*.gvi");
    EXPECT_EQ(dialog->SystemFlags(), DWORD(OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_ENABLESIZING));
    auto* menu = tk::Find<tk::PopupMenu>(form, "PopupMenu4");
    ASSERT_TRUE(menu);
    ASSERT_EQ(menu->Items().size(), 3u);
    EXPECT_EQ(menu->Items()[0]->Caption(), "&Contents");
    EXPECT_TRUE(menu->Items()[1]->IsSeparator());
    EXPECT_FALSE(menu->Items()[2]->Enabled());

    std::string text = tk::SaveComponent(form);
    EXPECT_NE(text.find("  object Timer1: TTimer\n    Enabled = False\n    Interval = 250\n  end\n"),
              std::string::npos) << text;
    EXPECT_NE(text.find("    Options = [ofHideReadOnly, ofAllowMultiSelect, ofEnableSizing]\n"), std::string::npos);
    EXPECT_NE(text.find("    object More1: TMenuItem\n      Caption = 'More'\n      Enabled = False\n"),
              std::string::npos) << text;
    // A menu written alone still carries its items, which the form owns.
    EXPECT_NE(tk::SaveComponent(*menu).find("  object Contents1: TMenuItem\n"), std::string::npos);

    tk::Component again;
    r = tk::LoadLayout(again, text, nullptr);
    ASSERT_TRUE(r) << r.message;
    EXPECT_EQ(tk::SaveComponent(again), text);
}

TEST_F(LayoutTest, LayoutsAndPicturesFromResources) {
    Thing root;
    tk::LayoutResult r = tk::LoadLayoutResource(root, "TEST_LAYOUT");
    ASSERT_TRUE(r) << r.message;
    EXPECT_EQ(root.Name(), "Form9");
    EXPECT_EQ(root.caption, "from a resource");
    // The picture resource is the raw file; the property gets it as a block.
    std::optional<std::vector<uint8_t>> file = tk::ResourceBytes("sample.dat");
    ASSERT_TRUE(file);
    ASSERT_EQ(root.data.size(), file->size() + 4);
    EXPECT_EQ(root.data[0], file->size());
    EXPECT_TRUE(std::equal(file->begin(), file->end(), root.data.begin() + 4));

    EXPECT_FALSE(tk::ResourceBytes("NO_SUCH_RESOURCE"));
    Thing other;
    r = tk::LoadLayoutResource(other, "NO_SUCH_RESOURCE");
    EXPECT_FALSE(r);
    EXPECT_NE(r.message.find("NO_SUCH_RESOURCE"), std::string::npos);
}

}  // namespace
