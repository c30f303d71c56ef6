// The layout format with the toolkit's own classes, and layouts from resources.
#include "tests/host/toolkit/LayoutThings.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Form.h"
#include "toolkit/PopupMenu.h"
#include "toolkit/Timer.h"

#include <commdlg.h>

namespace {

using namespace layouttest;

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
    EXPECT_NE(tk::FindClass("TTimer"), nullptr);
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

// A window made through FormLayout: OnDestroy runs while the form's members still exist, and a
// form that failed to load never runs it, though its layout had bound it.
namespace formlayout {

std::vector<std::string> log;

struct Member {
    ~Member() { log.push_back("member gone"); }
};

class TestForm : public tk::Form {
public:
    explicit TestForm(const char* timer) : tk::Form(nullptr) {
        Methods().notify["FormCreate"] = [this](tk::Component*) { log.push_back("OnCreate, timer " + Timer1->Name()); };
        Methods().notify["FormDestroy"] = [this](tk::Component*) { log.push_back("OnDestroy"); };
        layout_.Load("FORM_LAYOUT", [this, timer] { Timer1 = layout_.Need<tk::Timer>(timer); });
    }
    tk::Timer* Timer1 = nullptr;

private:
    Member member_;
    tk::FormLayout layout_{*this};
};

TEST(FormLayout, EveryStepInItsPlace) {
    log.clear();
    { TestForm form("Timer1"); }
    EXPECT_EQ(log, (std::vector<std::string>{"OnCreate, timer Timer1", "OnDestroy", "member gone"}));

    log.clear();
    EXPECT_THROW(TestForm("Timer2"), std::runtime_error);  // the layout has no Timer2
    EXPECT_EQ(log, std::vector<std::string>{"member gone"});
}

}  // namespace formlayout
