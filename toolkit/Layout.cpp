// The text layout format: the reader, and the value helpers property loaders read with.
#include "toolkit/Layout.h"

#include <climits>

#include "platform/Text.h"

namespace tk {

namespace {

bool SameText(std::string_view a, std::string_view b) { return platform::SameTextAscii(a, b); }

bool IsIdentStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// How a character is named in a message: printable as itself, others by code.
std::string Shown(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u >= 33 && u <= 126) return std::string("\"") + c + "\"";
    // Appended, not "#" + ...: GCC 12 at -O3 on i686 takes that for an overlapping copy.
    std::string code = "#";
    code += std::to_string(u);
    return code;
}

std::vector<uint8_t> PictureBlock(const std::vector<uint8_t>& file) {
    uint32_t n = static_cast<uint32_t>(file.size());
    std::vector<uint8_t> block;
    block.reserve(file.size() + 4);
    for (int i = 0; i < 4; ++i) block.push_back(static_cast<uint8_t>(n >> (8 * i)));
    block.insert(block.end(), file.begin(), file.end());
    return block;
}

struct Fault {
    int line;
    std::string message;
};

class Reader {
public:
    Reader(Component& root, std::string_view text, const PictureResolver& resolve)
        : root_(root), s_(text), resolve_(resolve) {}

    void Run() {
        SkipSpace();
        if (AtEnd()) Fail("the layout is empty");
        std::string name, cls;
        ReadHeader(name, cls);
        if (!name.empty()) root_.SetName(name);
        ReadBody(root_, name.empty() ? cls : name);
        SkipSpace();
        if (!AtEnd()) Fail("text after the end of the layout");
        for (Component* c : created_) c->Loaded();
        root_.Loaded();
    }

private:
    [[noreturn]] void Fail(std::string message) { throw Fault{line_, std::move(message)}; }
    [[noreturn]] void FailAt(int line, std::string message) { throw Fault{line, std::move(message)}; }

    bool AtEnd() const { return pos_ >= s_.size(); }
    char Peek() const { return AtEnd() ? '\0' : s_[pos_]; }
    char Next() {
        char c = s_[pos_++];
        if (c == '\n') ++line_;
        return c;
    }

    // The value of the digit at the reading position; -1 for none.
    int DigitHere(bool hex) const {
        if (AtEnd()) return -1;
        return hex ? HexDigit(Peek()) : (IsDigit(Peek()) ? Peek() - '0' : -1);
    }

    void SkipSpace() {
        while (!AtEnd()) {
            char c = Peek();
            if (static_cast<unsigned char>(c) <= ' ') {
                Next();
            } else if (c == '/' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '/') {
                while (!AtEnd() && Peek() != '\n') Next();
            } else {
                break;
            }
        }
    }

    // An identifier; dotted when the names of properties are read (Picture.Data).
    std::string ReadIdent(bool dotted, const char* what) {
        SkipSpace();
        if (AtEnd()) Fail(std::string("unexpected end of the layout, ") + what + " expected");
        if (!IsIdentStart(Peek())) Fail(std::string(what) + " expected, found " + Shown(Peek()));
        std::string word;
        for (;;) {
            while (!AtEnd() && IsIdentChar(Peek())) word += Next();
            if (dotted && Peek() == '.' && pos_ + 1 < s_.size() && IsIdentStart(s_[pos_ + 1])) {
                word += Next();
                continue;
            }
            break;
        }
        return word;
    }

    void Expect(char c) {
        SkipSpace();
        if (AtEnd()) Fail(std::string("unexpected end of the layout, \"") + c + "\" expected");
        if (Peek() != c) Fail(std::string("\"") + c + "\" expected, found " + Shown(Peek()));
        Next();
    }

    // "object Name: TClass" (or "object TClass" for a component without a name).
    void ReadHeader(std::string& name, std::string& cls) {
        std::string word = ReadIdent(false, "\"object\"");
        if (!SameText(word, "object")) Fail("\"object\" expected, found \"" + word + "\"");
        ReadNameAndClass(name, cls);
    }

    void ReadNameAndClass(std::string& name, std::string& cls) {
        std::string first = ReadIdent(false, "a component name");
        SkipSpace();
        if (Peek() == ':') {
            Next();
            name = first;
            cls = ReadIdent(false, "a class name");
        } else {
            cls = first;
        }
    }

    void ReadBody(Component& target, const std::string& label) {
        for (;;) {
            SkipSpace();
            if (AtEnd()) Fail("unexpected end of the layout, \"end\" of " + label + " missing");
            int line = line_;
            std::string word = ReadIdent(true, "a property, \"object\" or \"end\"");
            if (SameText(word, "end")) return;
            if (SameText(word, "object")) {
                ReadChild(target, line);
                continue;
            }
            Expect('=');
            LayoutValue value = ReadValue();
            Apply(target, word, value, line);
        }
    }

    void ReadChild(Component& parent, int line) {
        // Real windows nest a few levels; a runaway text must not exhaust the stack.
        if (++depth_ > 64) FailAt(line, "objects nested too deeply");
        std::string name;
        std::string cls;
        ReadNameAndClass(name, cls);  // "object" itself was read by the caller
        const ClassInfo* info = FindClass(cls);
        if (!info) FailAt(line, "unknown class \"" + cls + "\"");
        if (!info->create) FailAt(line, "class \"" + cls + "\" cannot be created");
        if (!name.empty() && root_.FindComponent(name))
            FailAt(line, "a component named \"" + name + "\" already exists");
        Component* child = nullptr;
        try {
            std::unique_ptr<Component> made = info->create(&root_);
            if (!made) FailAt(line, "class \"" + cls + "\" cannot be created");
            made->SetName(name);
            child = root_.Adopt(std::move(made));
            created_.push_back(child);
            child->SetParentComponent(&parent);
        } catch (const Fault&) {
            throw;
        } catch (const std::exception& e) {
            FailAt(line, "cannot create " + (name.empty() ? cls : name) + ": " + e.what());
        } catch (...) {
            FailAt(line, "cannot create " + (name.empty() ? cls : name));
        }
        ReadBody(*child, name.empty() ? cls : name);
        --depth_;
    }

    void Apply(Component& target, const std::string& property, const LayoutValue& value, int line) {
        const ClassInfo& info = target.Info();
        const PropertyInfo* p = info.Find(property);
        if (!p) FailAt(line, "unknown property \"" + property + "\" of " + info.name);
        if (!p->load) FailAt(line, "property \"" + property + "\" of " + info.name + " cannot be set");
        try {
            p->load(target, value);
        } catch (const std::exception& e) {
            FailAt(line, "bad value for " + property + ": " + e.what());
        } catch (...) {
            FailAt(line, "bad value for " + property);
        }
    }

    LayoutValue ReadValue() {
        SkipSpace();
        if (AtEnd()) Fail("unexpected end of the layout, a value expected");
        char c = Peek();
        if (IsDigit(c) || c == '-' || c == '+' || c == '$') return LayoutValue::Int(ReadInteger());
        if (c == '\'' || c == '#') return LayoutValue::Str(ReadString());
        if (c == '[') return ReadSet();
        if (c == '{') return LayoutValue::Bin(ReadBinary());
        if (c == '(') return ReadList();
        if (c == '@') return LayoutValue::Bin(ReadPicture());
        if (IsIdentStart(c)) return LayoutValue::Id(ReadIdent(true, "a value"));
        Fail("a value expected, found " + Shown(c));
    }

    int64_t ReadInteger() {
        bool negative = false;
        if (Peek() == '-' || Peek() == '+') negative = Next() == '-';
        bool hex = false;
        if (Peek() == '$') {
            Next();
            hex = true;
        }
        uint64_t limit = negative ? uint64_t(INT64_MAX) + 1 : uint64_t(INT64_MAX);
        uint64_t v = 0;
        int digits = 0;
        for (;;) {
            const int d = DigitHere(hex);
            if (d < 0) break;
            Next();
            ++digits;
            uint64_t base = hex ? 16 : 10;
            if (v > (limit - uint64_t(d)) / base) Fail("number out of range");
            v = v * base + uint64_t(d);
        }
        if (digits == 0) Fail("a number expected");
        if (!AtEnd() && (IsIdentChar(Peek()) || Peek() == '.')) Fail("bad number");
        if (negative) return v == uint64_t(INT64_MAX) + 1 ? INT64_MIN : -int64_t(v);
        return int64_t(v);
    }

    // 'piece''s'#13#10'more', optionally continued with + on the next line.
    std::string ReadString() {
        std::string out;
        for (;;) {
            ReadStringPieces(out);
            size_t savedPos = pos_;
            int savedLine = line_;
            SkipSpace();
            if (Peek() == '+') {
                Next();
                SkipSpace();
                if (Peek() != '\'' && Peek() != '#') Fail("a string expected after \"+\"");
                continue;
            }
            pos_ = savedPos;
            line_ = savedLine;
            return out;
        }
    }

    void ReadStringPieces(std::string& out) {
        bool any = false;
        for (;;) {
            char c = Peek();
            if (c == '\'') {
                int start = line_;
                Next();
                for (;;) {
                    if (AtEnd() || Peek() == '\n' || Peek() == '\r') FailAt(start, "unterminated string");
                    char d = Next();
                    if (d == '\'') {
                        if (Peek() == '\'') {
                            Next();
                            out += '\'';
                            continue;
                        }
                        break;
                    }
                    out += d;
                }
            } else if (c == '#') {
                Next();
                bool hex = Peek() == '$';
                if (hex) Next();
                unsigned code = 0;
                int digits = 0;
                for (;;) {
                    const int d = DigitHere(hex);
                    if (d < 0) break;
                    Next();
                    code = code * (hex ? 16 : 10) + unsigned(d);
                    if (++digits > 3 || code > 255) Fail("character code out of range");
                }
                if (digits == 0) Fail("a character code expected after \"#\"");
                out += static_cast<char>(code);
            } else {
                if (!any) Fail("a string expected");
                return;
            }
            any = true;
        }
    }

    // Inside brackets opened on line `start`: true, and past it, when `close` comes next.
    bool Closes(char close, int start, const char* unterminated) {
        SkipSpace();
        if (AtEnd()) FailAt(start, unterminated);
        if (Peek() != close) return false;
        Next();
        return true;
    }

    LayoutValue ReadSet() {
        const int start = line_;
        Next();  // [
        std::vector<std::string> items;
        if (Closes(']', start, "unterminated set")) return LayoutValue::SetOf(items);
        for (;;) {
            items.push_back(ReadIdent(false, "a set member"));
            if (Closes(']', start, "unterminated set")) return LayoutValue::SetOf(std::move(items));
            if (Peek() != ',') Fail("\",\" or \"]\" expected in a set, found " + Shown(Peek()));
            Next();
            SkipSpace();
            if (AtEnd()) FailAt(start, "unterminated set");
        }
    }

    std::vector<uint8_t> ReadBinary() {
        const int start = line_;
        Next();  // {
        std::vector<uint8_t> bytes;
        int high = -1;
        while (!Closes('}', start, "unterminated binary data, \"}\" missing")) {
            const int d = HexDigit(Peek());
            if (d < 0) Fail("bad hex digit " + Shown(Peek()) + " in binary data");
            Next();
            if (high < 0) {
                high = d;
            } else {
                bytes.push_back(static_cast<uint8_t>(high * 16 + d));
                high = -1;
            }
        }
        if (high >= 0) FailAt(start, "odd number of hex digits in binary data");
        return bytes;
    }

    LayoutValue ReadList() {
        const int start = line_;
        Next();  // (
        std::vector<std::string> items;
        while (!Closes(')', start, "unterminated list, \")\" missing")) {
            if (Peek() != '\'' && Peek() != '#') Fail("a string expected in the list, found " + Shown(Peek()));
            items.push_back(ReadString());
        }
        return LayoutValue::ListOf(std::move(items));
    }

    std::vector<uint8_t> ReadPicture() {
        Next();  // @
        std::string name;
        while (!AtEnd()) {
            char c = Peek();
            if (static_cast<unsigned char>(c) <= ' ' || std::string_view("{}[](),=@'#").find(c) != std::string_view::npos)
                break;
            name += Next();
        }
        if (name.empty()) Fail("a picture name expected after \"@\"");
        if (!resolve_) Fail("no pictures can be fetched for @" + name);
        std::optional<std::vector<uint8_t>> file;
        try {
            file = resolve_(name);
        } catch (...) {
            file.reset();
        }
        if (!file) Fail("picture \"" + name + "\" not found");
        return PictureBlock(*file);
    }

    Component& root_;
    std::string_view s_;
    const PictureResolver& resolve_;
    size_t pos_ = 0;
    int line_ = 1;
    int depth_ = 0;
    std::vector<Component*> created_;
};

}  // namespace

LayoutResult LoadLayout(Component& root, std::string_view text, const PictureResolver& resolve) {
    try {
        Reader(root, text, resolve).Run();
        return {};
    } catch (const Fault& f) {
        return {false, f.line, "line " + std::to_string(f.line) + ": " + f.message};
    } catch (const std::exception& e) {
        // Loaded() of a component failed, or memory ran out.
        return {false, 0, std::string("layout not loaded: ") + e.what()};
    } catch (...) {
        return {false, 0, "layout not loaded"};
    }
}

// --- Value helpers ----------------------------------------------------------------------------

namespace {
const LayoutValue& Require(const LayoutValue& v, LayoutValue::Kind kind) {
    static const char* const names[] = {"a number", "a string", "an identifier", "a set", "binary data", "a string list"};
    if (v.kind != kind)
        throw LayoutValueError(std::string(names[int(kind)]) + " expected, found " + names[int(v.kind)]);
    return v;
}
}  // namespace

int64_t IntValue(const LayoutValue& v) { return Require(v, LayoutValue::Kind::Integer).integer; }

int32_t Int32Value(const LayoutValue& v) {
    int64_t i = IntValue(v);
    if (i < INT32_MIN || i > INT32_MAX) throw LayoutValueError("number out of range");
    return static_cast<int32_t>(i);
}

bool BoolValue(const LayoutValue& v) {
    const std::string& id = IdentValue(v);
    if (SameText(id, "True")) return true;
    if (SameText(id, "False")) return false;
    throw LayoutValueError("True or False expected, found " + id);
}

const std::string& StringValue(const LayoutValue& v) { return Require(v, LayoutValue::Kind::String).text; }
const std::string& IdentValue(const LayoutValue& v) { return Require(v, LayoutValue::Kind::Ident).text; }
const std::vector<std::string>& SetValue(const LayoutValue& v) { return Require(v, LayoutValue::Kind::Set).items; }
const std::vector<std::string>& ListValue(const LayoutValue& v) { return Require(v, LayoutValue::Kind::List).items; }
const std::vector<uint8_t>& BinaryValue(const LayoutValue& v) { return Require(v, LayoutValue::Kind::Binary).bytes; }

}  // namespace tk
