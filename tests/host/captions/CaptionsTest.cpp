// Caption tables: the built-in texts byte for byte, comma text both ways, and the lookup.
#include "controls/FolderCaptions.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace {

TStringList FromComma(std::string_view text) {
    TStringList list;
    list.SetCommaText(text);
    return list;
}

// The tables written out again from their languages: every byte of every row counts.
std::string ExpectedTable(bool labels) {
    struct Language {
        const char* keys;
        const char* button;
        const char* label;
    };
    const Language languages[] = {
        {"0009 0409 0809 0C09 1009 1409 1809 1C09 2009 2809 2C09", "New folder", "Current folder:"},
        {"0406", "Ny mappe", "Valgt mappe:"},
        {"0407 0807 0C07 1007 1407", "Neuer Ordner", "Ausgew\xE4hlter Ordner:"},
        {"040C 080C 0C0C 100C 140C 180C", "Nouveau Dossier", "Dossier Courant:"},
        {"0410 0810", "Nuova Cartella", "Cartella selezionata:"},
        {"0413", "Nieuwe map", "Huidige map:"},
        {"0415", "Nowy folder", "Bie\xBF\xB1" "cy folder"},
        {"0416", "Nova Pasta", "Pasta Atual:"},
    };
    std::map<std::string, std::string> rows;
    for (const Language& l : languages) {
        std::istringstream keys(l.keys);
        for (std::string key; keys >> key;) rows[key] = labels ? l.label : l.button;
    }
    std::string table = std::string("\"Default=") + (labels ? "Current folder:" : "New folder") + "\"";
    for (const auto& [key, text] : rows) table += ",\"" + key + "=" + text + "\"";
    return table;
}

TEST(BuiltInTables, HoldEveryRowByteForByteAndRoundTrip) {
    EXPECT_EQ(kBuiltInNewFolderCaptions, ExpectedTable(false));
    EXPECT_EQ(kBuiltInLabelCaptions, ExpectedTable(true));
    EXPECT_EQ(kBuiltInNewFolderCaptions.size(), 571u);
    EXPECT_EQ(kBuiltInLabelCaptions.size(), 702u);

    TStringList buttons = FromComma(kBuiltInNewFolderCaptions);
    TStringList labels = FromComma(kBuiltInLabelCaptions);
    ASSERT_EQ(buttons.Count(), 29);
    ASSERT_EQ(labels.Count(), 29);
    EXPECT_EQ(labels.Value("0415").size(), 14u);
    EXPECT_EQ(buttons.CommaText(), kBuiltInNewFolderCaptions);
    EXPECT_EQ(labels.CommaText(), kBuiltInLabelCaptions);
}

TEST(ResolveCaption, PicksTheLanguageThenDefault) {
    TStringList buttons = FromComma(kBuiltInNewFolderCaptions);
    TStringList labels = FromComma(kBuiltInLabelCaptions);
    EXPECT_EQ(ResolveCaption(buttons, LanguageKey(0x0407)), "Neuer Ordner");
    EXPECT_EQ(ResolveCaption(labels, LanguageKey(0x0407)), "Ausgew\xE4hlter Ordner:");
    EXPECT_EQ(ResolveCaption(buttons, LanguageKey(0x040C)), "Nouveau Dossier");
    // No row and no fall-back to the primary language: the "Default" row.
    EXPECT_EQ(ResolveCaption(buttons, LanguageKey(0x0C0A)), "New folder");
    EXPECT_EQ(ResolveCaption(labels, LanguageKey(0x0C0A)), "Current folder:");
    EXPECT_EQ(ResolveCaption(labels, LanguageKey(0x0007)), "Current folder:");
}

TEST(ResolveCaption, ComparesKeysWithoutLetterCase) {
    TStringList list = FromComma("\"Default=x\",\"040c=Dossier\"");
    EXPECT_EQ(ResolveCaption(list, LanguageKey(0x040C)), "Dossier");
}

TEST(ResolveCaption, FallsBackToTheFirstLine) {
    TStringList list;
    list.SetLines({"1234=A", "0409=B"});
    EXPECT_EQ(ResolveCaption(list, LanguageKey(0x0407)), "A");
    EXPECT_EQ(ResolveCaption(list, LanguageKey(0x0409)), "B");

    // A first line without "=" has an empty name: the first line that begins with "=" wins.
    list.SetLines({"plain", "1234=A", "=empty name"});
    EXPECT_EQ(ResolveCaption(list, LanguageKey(0x0407)), "empty name");
    list.SetLines({"plain", "1234=A"});
    EXPECT_EQ(ResolveCaption(list, LanguageKey(0x0407)), "");

    EXPECT_EQ(ResolveCaption(TStringList(), LanguageKey(0x0409)), "");
}

TEST(ResolveCaption, SplitsAtTheFirstEquals) {
    TStringList list;
    list.SetLines({"0409=a=b"});
    EXPECT_EQ(ResolveCaption(list, "0409"), "a=b");
}

TEST(LanguageKey, HasFourUpperCaseDigits) {
    EXPECT_EQ(LanguageKey(0x0409), "0409");
    EXPECT_EQ(LanguageKey(0x0c0a), "0C0A");
    EXPECT_EQ(LanguageKey(0x0009), "0009");
    EXPECT_EQ(LanguageKey(0xFFFF), "FFFF");
}

TEST(CommaText, QuotesOnlyWhereNeeded) {
    TStringList list;
    list.SetLines({"plain", "with space", "a,b", "say \"hi\"", ""});
    EXPECT_EQ(list.CommaText(), "plain,\"with space\",\"a,b\",\"say \"\"hi\"\"\",");
    TStringList back = FromComma(list.CommaText());
    EXPECT_EQ(back.Lines(), list.Lines());

    list.SetLines({""});
    EXPECT_EQ(list.CommaText(), "\"\"");
    list.SetLines({});
    EXPECT_EQ(list.CommaText(), "");
}

TEST(CommaText, ReadsLikeTheClassicToolkit) {
    // Blanks separate unquoted items; blanks around delimiters are skipped.
    EXPECT_EQ(FromComma("  a b , c ").Lines(), (std::vector<std::string>{"a", "b", "c"}));
    // A trailing delimiter adds an empty item only when it ends the text.
    EXPECT_EQ(FromComma("a,").Lines(), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(FromComma("a, ").Lines(), (std::vector<std::string>{"a"}));
    EXPECT_EQ(FromComma("a,,b").Lines(), (std::vector<std::string>{"a", "", "b"}));
    // Text right after a closing quote starts a new item; an unclosed quote runs to the end.
    EXPECT_EQ(FromComma("\"x y\"z").Lines(), (std::vector<std::string>{"x y", "z"}));
    EXPECT_EQ(FromComma("\"open end").Lines(), (std::vector<std::string>{"open end"}));
    EXPECT_EQ(FromComma("").Count(), 0);
}

TEST(StringList, NotifiesOncePerChange) {
    TStringList list;
    int changes = 0;
    list.OnChange = [&] { ++changes; };
    list.SetCommaText(kBuiltInNewFolderCaptions);
    EXPECT_EQ(changes, 1);
    list.Add("x=y");
    list.Put(0, "Default=Other");
    list.Delete(1);
    list.Insert(0, "1=2");
    EXPECT_EQ(changes, 5);
    TStringList other;
    other.SetLines({"a=b"});
    list.Assign(other);
    EXPECT_EQ(changes, 6);
    EXPECT_EQ(list.Lines(), other.Lines());
    list.Clear();
    list.Clear();  // already empty: nothing changes
    EXPECT_EQ(changes, 7);
}

TEST(StringList, TextEndsEveryLineWithCrLf) {
    TStringList list;
    list.SetLines({"a", "b"});
    EXPECT_EQ(list.Text(), "a\r\nb\r\n");
    EXPECT_EQ(TStringList().Text(), "");
}

}  // namespace
