// The About box: placeholders until Init, its look, the keys that close it and those that do
// not, the focus at every show, and the two links.
#include "tests/windows/support/ProgramTest.h"

#include "app/Product.h"
#include "toolkit/Application.h"

using CodecPromptTest = ProgramTest;

TEST_F(CodecPromptTest, AboutBoxShowsPlaceholdersUntilInit) {
    Create();
    TAboutForm& a = *AboutForm;
    EXPECT_EQ(a.Label1->Caption(), "Vexlar");
    EXPECT_EQ(a.Label2->Caption(), "Version: 0.0");
    a.Init();
    EXPECT_EQ(a.Label1->Caption(), "Vexlar GVI Converter");
    EXPECT_EQ(a.Label2->Caption(), "Version: 1.4");
    EXPECT_GT(a.Label1->Width(), a.Label2->Width()) << "the name label grew with its text";
}

TEST_F(CodecPromptTest, AboutBoxLayout) {
    Create();
    TAboutForm& a = *AboutForm;
    HWND h = a.Handle();
    EXPECT_EQ(a.Caption(), "About");
    const LONG_PTR style = GetWindowLongPtrA(h, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU) << "the close box";
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    ASSERT_TRUE(GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(h, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 240);
    EXPECT_TRUE(flags & LWA_ALPHA);

    // The box is the panel, and the panel holds every control.
    EXPECT_EQ(a.ClientWidth(), a.Panel1->Width());
    EXPECT_EQ(a.ClientHeight(), a.Panel1->Height());
    EXPECT_EQ(a.Panel1->Width(), 393);
    for (tk::Control* c : a.Panel1->Controls()) {
        EXPECT_LE(c->Left() + c->Width(), a.Panel1->Width()) << c->Name();
        EXPECT_LE(c->Top() + c->Height(), a.Panel1->Height()) << c->Name();
    }
    EXPECT_LT(a.Label4->Top() + a.Label4->Height(), a.Button3->Top());

    EXPECT_TRUE(a.Label1->GetFont().bold);
    EXPECT_EQ(a.Label1->GetFont().size, 12);
    for (tk::Label* link : {a.Label3, a.Label4}) {
        EXPECT_EQ(link->GetFont().color, tk::clBlue) << link->Name();
        EXPECT_TRUE(link->GetFont().underline) << link->Name();
        EXPECT_EQ(link->GetCursor(), tk::crHandPoint) << link->Name();
    }
    EXPECT_EQ(a.Label3->Caption(), product::kWebPage);
    EXPECT_EQ(a.Label4->Caption(), product::kSupportMail);
    EXPECT_EQ(a.Button3->Caption(), "OK");
    EXPECT_TRUE(a.Button3->Default());
    EXPECT_FALSE(a.Button3->Cancel());
    EXPECT_TRUE(a.Button3->GetFont().bold);
}

TEST_F(CodecPromptTest, AboutBoxClosesOnEnterNotOnEscapeWithOkFocusedAtEveryShow) {
    Create();
    AboutForm->Init();
    HWND ok = AboutForm->Button3->Handle();
    const DWORD ui = GetCurrentThreadId();

    struct Show {
        HWND focus = nullptr;
        bool openAfterEscape = false;
    };
    Show first, second;
    {
        ModalDriver driver("About", [&](HWND box) {
            vt::WaitFor([&] { return vt::FocusOf(ui) == ok; });
            first.focus = vt::FocusOf(ui);
            vt::PostKey(first.focus ? first.focus : ok, VK_ESCAPE);
            Sleep(300);
            first.openAfterEscape = IsWindowVisible(box) != FALSE;
            vt::PostKey(first.focus ? first.focus : ok, VK_RETURN);
            // Should Enter fail to close it, the close box ends the show.
            if (!vt::WaitFor([&] { return !IsWindowVisible(box); })) PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);
        });
        AboutForm->ShowModal();
        ASSERT_TRUE(driver.Join());
    }
    EXPECT_EQ(first.focus, ok);
    EXPECT_TRUE(first.openAfterEscape) << "Escape does nothing: the box has no cancel button";
    EXPECT_FALSE(IsWindowVisible(AboutForm->Handle()));

    // Shown again: OK has the focus again, and the close box closes it too.
    bool closedByBox = false;
    {
        ModalDriver driver("About", [&](HWND box) {
            vt::WaitFor([&] { return vt::FocusOf(ui) == ok; });
            second.focus = vt::FocusOf(ui);
            PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);
            closedByBox = vt::WaitFor([&] { return !IsWindowVisible(box); });
            if (!closedByBox) vt::PostKey(ok, VK_RETURN);
        });
        AboutForm->ShowModal();
        ASSERT_TRUE(driver.Join());
    }
    EXPECT_EQ(second.focus, ok);
    EXPECT_TRUE(closedByBox);
    EXPECT_EQ(AboutForm->Label2->Caption(), "Version: 1.4") << "the labels stay as Init left them";
    EXPECT_TRUE(ShellCalls().empty());
}

TEST_F(CodecPromptTest, AboutBoxLinksOpenThePageAndANewMail) {
    Create();
    AboutForm->Show();
    vt::PumpFor(30);
    HWND panel = AboutForm->Panel1->Handle();
    vt::ClickAt(panel, AboutForm->Label3->Left() + 3, AboutForm->Label3->Top() + 3);
    vt::ClickAt(panel, AboutForm->Label4->Left() + 3, AboutForm->Label4->Top() + 3);
    vt::ClickAt(panel, AboutForm->Label4->Left() + 3, AboutForm->Label4->Top() + 40);  // below: nothing

    ASSERT_EQ(ShellCalls().size(), 2u);
    const ShellCall& web = ShellCalls()[0];
    EXPECT_EQ(web.file, product::kWebPage);
    EXPECT_EQ(web.file.rfind("http://", 0), 0u);
    EXPECT_NE(web.file.find("/gvi_converter.htm"), std::string::npos);
    EXPECT_FALSE(web.hasParameters);
    const ShellCall& mail = ShellCalls()[1];
    EXPECT_EQ(mail.file, std::string("MailTo:") + product::kSupportMail);
    EXPECT_TRUE(mail.hasParameters);
    EXPECT_EQ(mail.parameters, "");
    for (const ShellCall& r : ShellCalls()) {
        EXPECT_EQ(r.owner, tk::App().Handle());
        EXPECT_FALSE(r.hasVerb);
        EXPECT_FALSE(r.hasDirectory);
        EXPECT_EQ(r.show, SW_RESTORE);
    }
    AboutForm->Hide();
}
