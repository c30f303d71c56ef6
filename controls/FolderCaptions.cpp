// Caption tables of the folder browser: a small string list, the built-in tables and the lookup.
#include "controls/FolderCaptions.h"

#include <cstdio>

#include "platform/Text.h"

namespace {

const char kQuote = '"';
const char kDelimiter = ',';

// Blanks and control characters separate unquoted items.
bool IsBlank(char c) { return c != '\0' && static_cast<unsigned char>(c) <= ' '; }

// Reads a quoted item starting at text[pos] (the opening quote); doubled quotes stand for one.
// An item whose closing quote is missing runs to the end of the text.
std::string ReadQuoted(std::string_view text, size_t& pos) {
    std::string item;
    ++pos;
    while (pos < text.size() && text[pos] != '\0') {
        if (text[pos] == kQuote) {
            if (pos + 1 < text.size() && text[pos + 1] == kQuote) {
                item += kQuote;
                pos += 2;
                continue;
            }
            ++pos;
            return item;
        }
        item += text[pos++];
    }
    return item;
}

}  // namespace

const std::string_view kBuiltInNewFolderCaptions =
    "\"Default=New folder\",\"0009=New folder\",\"0406=Ny mappe\",\"0407=Neuer Ordner\","
    "\"0409=New folder\",\"040C=Nouveau Dossier\",\"0410=Nuova Cartella\",\"0413=Nieuwe map\","
    "\"0415=Nowy folder\",\"0416=Nova Pasta\",\"0807=Neuer Ordner\",\"0809=New folder\","
    "\"080C=Nouveau Dossier\",\"0810=Nuova Cartella\",\"0C07=Neuer Ordner\",\"0C09=New folder\","
    "\"0C0C=Nouveau Dossier\",\"1007=Neuer Ordner\",\"1009=New folder\",\"100C=Nouveau Dossier\","
    "\"1407=Neuer Ordner\",\"1409=New folder\",\"140C=Nouveau Dossier\",\"1809=New folder\","
    "\"180C=Nouveau Dossier\",\"1C09=New folder\",\"2009=New folder\",\"2809=New folder\","
    "\"2C09=New folder\"";

// 0xE4 is a-umlaut; the Polish label is kept as the bytes it always had, without a colon.
const std::string_view kBuiltInLabelCaptions =
    "\"Default=Current folder:\",\"0009=Current folder:\",\"0406=Valgt mappe:\","
    "\"0407=Ausgew\xE4hlter Ordner:\",\"0409=Current folder:\",\"040C=Dossier Courant:\","
    "\"0410=Cartella selezionata:\",\"0413=Huidige map:\",\"0415=Bie\xBF\xB1" "cy folder\","
    "\"0416=Pasta Atual:\",\"0807=Ausgew\xE4hlter Ordner:\",\"0809=Current folder:\","
    "\"080C=Dossier Courant:\",\"0810=Cartella selezionata:\",\"0C07=Ausgew\xE4hlter Ordner:\","
    "\"0C09=Current folder:\",\"0C0C=Dossier Courant:\",\"1007=Ausgew\xE4hlter Ordner:\","
    "\"1009=Current folder:\",\"100C=Dossier Courant:\",\"1407=Ausgew\xE4hlter Ordner:\","
    "\"1409=Current folder:\",\"140C=Dossier Courant:\",\"1809=Current folder:\","
    "\"180C=Dossier Courant:\",\"1C09=Current folder:\",\"2009=Current folder:\","
    "\"2809=Current folder:\",\"2C09=Current folder:\"";

TStringList& TStringList::operator=(const TStringList& other) {
    if (this != &other) Assign(other);
    return *this;
}

void TStringList::Add(std::string line) {
    lines_.push_back(std::move(line));
    Changed();
}

void TStringList::Insert(int index, std::string line) {
    if (index < 0 || index > Count()) return;
    lines_.insert(lines_.begin() + index, std::move(line));
    Changed();
}

void TStringList::Delete(int index) {
    if (index < 0 || index >= Count()) return;
    lines_.erase(lines_.begin() + index);
    Changed();
}

void TStringList::Put(int index, std::string line) {
    if (index < 0 || index >= Count()) return;
    lines_[static_cast<size_t>(index)] = std::move(line);
    Changed();
}

void TStringList::Clear() {
    if (lines_.empty()) return;
    lines_.clear();
    Changed();
}

void TStringList::Assign(const TStringList& other) {
    SetLines(other.lines_);
}

void TStringList::SetLines(std::vector<std::string> lines) {
    lines_ = std::move(lines);
    Changed();
}

std::string TStringList::Name(int index) const {
    if (index < 0 || index >= Count()) return {};
    const std::string& line = lines_[static_cast<size_t>(index)];
    size_t eq = line.find('=');
    return eq == std::string::npos ? std::string() : line.substr(0, eq);
}

int TStringList::IndexOfName(std::string_view name) const {
    for (size_t i = 0; i < lines_.size(); ++i) {
        size_t eq = lines_[i].find('=');
        if (eq != std::string::npos && platform::SameTextAscii(std::string_view(lines_[i]).substr(0, eq), name))
            return static_cast<int>(i);
    }
    return -1;
}

std::string TStringList::Value(std::string_view name) const {
    int i = IndexOfName(name);
    if (i < 0) return {};
    const std::string& line = lines_[static_cast<size_t>(i)];
    return line.substr(line.find('=') + 1);
}

std::string TStringList::CommaText() const {
    if (lines_.size() == 1 && lines_[0].empty()) return std::string(2, kQuote);
    std::string result;
    for (size_t i = 0; i < lines_.size(); ++i) {
        const std::string& s = lines_[i];
        bool quote = false;
        for (char c : s) {
            if (c == '\0') break;
            if (IsBlank(c) || c == kQuote || c == kDelimiter) { quote = true; break; }
        }
        if (i > 0) result += kDelimiter;
        if (quote) {
            result += kQuote;
            for (char c : s) {
                if (c == kQuote) result += kQuote;
                result += c;
            }
            result += kQuote;
        } else {
            result += s;
        }
    }
    return result;
}

void TStringList::SetCommaText(std::string_view text) {
    std::vector<std::string> items;
    size_t pos = 0;
    auto at = [&](size_t p) { return p < text.size() ? text[p] : '\0'; };
    while (IsBlank(at(pos))) ++pos;
    while (at(pos) != '\0') {
        if (at(pos) == kQuote) {
            items.push_back(ReadQuoted(text, pos));
        } else {
            size_t start = pos;
            while (static_cast<unsigned char>(at(pos)) > ' ' && at(pos) != kDelimiter) ++pos;
            items.emplace_back(text.substr(start, pos - start));
        }
        while (IsBlank(at(pos))) ++pos;
        if (at(pos) == kDelimiter) {
            // A delimiter that ends the text stands for one more, empty, item.
            if (at(pos + 1) == '\0') items.emplace_back();
            do ++pos; while (IsBlank(at(pos)));
        }
    }
    SetLines(std::move(items));
}

std::string TStringList::Text() const {
    std::string result;
    for (const std::string& line : lines_) {
        result += line;
        result += "\r\n";
    }
    return result;
}

std::string LanguageKey(uint16_t languageId) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04X", static_cast<unsigned>(languageId));
    return buf;
}

std::string ResolveCaption(const TStringList& list, std::string_view languageKey) {
    if (list.Count() == 0) return {};
    if (list.IndexOfName(languageKey) >= 0) return list.Value(languageKey);
    if (list.IndexOfName("Default") >= 0) return list.Value("Default");
    return list.Value(list.Name(0));
}
