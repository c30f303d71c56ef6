// Caption tables of the folder browser: a small string list, the built-in tables and the lookup.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Lines of text, read as name=value pairs with names compared without regard to letter case.
// Comma text reads and writes like the classic toolkit's, so stored tables keep their bytes.
class TStringList {
public:
    TStringList() = default;
    TStringList(const TStringList& other) : lines_(other.lines_) {}
    TStringList& operator=(const TStringList& other);

    // Fired once per bulk change (Assign, SetCommaText, Clear) and once per line edit.
    std::function<void()> OnChange;

    int Count() const { return static_cast<int>(lines_.size()); }
    const std::string& operator[](int index) const { return lines_.at(static_cast<size_t>(index)); }
    const std::vector<std::string>& Lines() const { return lines_; }

    void Add(std::string line);
    void Insert(int index, std::string line);
    void Delete(int index);
    void Put(int index, std::string line);
    void Clear();
    // Replaces every line at once: one notification.
    void Assign(const TStringList& other);
    void SetLines(std::vector<std::string> lines);

    // The part before the first "=" (empty when the line has none).
    std::string Name(int index) const;
    // Index of the first line whose name matches; lines without "=" never match.
    int IndexOfName(std::string_view name) const;
    // The text after "=" of the first line with that name, or empty.
    std::string Value(std::string_view name) const;

    std::string CommaText() const;
    void SetCommaText(std::string_view text);
    // Every line followed by CR LF.
    std::string Text() const;

private:
    void Changed() { if (OnChange) OnChange(); }
    std::vector<std::string> lines_;
};

// Built-in tables, keyed by language: the New-folder button and the title above the tree.
extern const std::string_view kBuiltInNewFolderCaptions;
extern const std::string_view kBuiltInLabelCaptions;

// A language identifier as four upper-case hexadecimal digits: 0x0c0a -> "0C0A".
std::string LanguageKey(uint16_t languageId);

// The text for the language: its own line, else "Default", else the first line's name.
std::string ResolveCaption(const TStringList& list, std::string_view languageKey);
