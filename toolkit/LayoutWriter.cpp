// The text layout format: the writer that stores a component with its storing rules.
#include "toolkit/Layout.h"

#include <algorithm>
#include <set>

namespace tk {

namespace {

// Text of a string value as a layout writes it: 'it''s'#228.
std::string QuoteLayoutString(std::string_view text) {
    std::string out;
    bool open = false;  // inside a quoted piece
    for (char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        const bool printable = u >= 32 && u <= 126;
        if (printable != open) {
            out += '\'';
            open = printable;
        }
        if (printable) out += c == '\'' ? std::string("''") : std::string(1, c);
        else out += '#' + std::to_string(u);
    }
    if (open) out += '\'';
    return out.empty() ? "''" : out;
}

void Indent(std::string& out, int level) { out.append(size_t(level) * 2, ' '); }

void WriteValue(std::string& out, const LayoutValue& v, int level) {
    static const char hex[] = "0123456789ABCDEF";
    switch (v.kind) {
    case LayoutValue::Kind::Integer:
        out += std::to_string(v.integer);
        break;
    case LayoutValue::Kind::String:
        out += QuoteLayoutString(v.text);
        break;
    case LayoutValue::Kind::Ident:
        out += v.text;
        break;
    case LayoutValue::Kind::Set:
        out += '[';
        for (size_t i = 0; i < v.items.size(); ++i) {
            if (i) out += ", ";
            out += v.items[i];
        }
        out += ']';
        break;
    case LayoutValue::Kind::Binary:
        out += '{';
        for (size_t i = 0; i < v.bytes.size(); ++i) {
            if (i % 32 == 0) {
                out += '\n';
                Indent(out, level + 1);
            }
            out += hex[v.bytes[i] >> 4];
            out += hex[v.bytes[i] & 15];
        }
        out += '}';
        break;
    case LayoutValue::Kind::List:
        out += '(';
        for (const std::string& item : v.items) {
            out += '\n';
            Indent(out, level + 1);
            out += QuoteLayoutString(item);
        }
        out += ')';
        break;
    }
}

class Writer {
public:
    explicit Writer(const Component& top) : top_(top) {
        for (const auto& c : top.Components()) owned_.push_back(c.get());
        if (top.Owner()) {
            for (const auto& c : top.Owner()->Components()) {
                if (c.get() != &top) siblings_.push_back(c.get());
            }
        }
    }

    std::string Run() {
        Write(top_, 0);
        return out_;
    }

private:
    bool InTree(const Component* c) const {
        return c == &top_ || std::find(owned_.begin(), owned_.end(), c) != owned_.end();
    }

    std::vector<const Component*> Children(const Component& node) const {
        std::vector<const Component*> children;
        for (const Component* d : owned_) {
            const Component* parent = d->GetParentComponent();
            if (parent == &node || (&node == &top_ && !InTree(parent))) children.push_back(d);
        }
        for (const Component* d : siblings_) {
            if (d->GetParentComponent() == &node) children.push_back(d);
        }
        return children;
    }

    void Write(const Component& c, int level) {
        if (!written_.insert(&c).second) return;  // a parent loop must not make the text endless
        const ClassInfo& info = c.Info();
        Indent(out_, level);
        out_ += "object ";
        if (!c.Name().empty()) out_ += c.Name() + ": ";
        out_ += info.name + "\n";
        for (const PropertyInfo* p : info.All()) {
            if (!p->save) continue;
            if (p->stored && !p->stored(c)) continue;
            LayoutValue value = p->save(c);
            if (!p->stored && p->defaultValue && value == *p->defaultValue) continue;
            Indent(out_, level + 1);
            out_ += p->name + " = ";
            WriteValue(out_, value, level + 1);
            out_ += '\n';
        }
        for (const Component* child : Children(c)) Write(*child, level + 1);
        Indent(out_, level);
        out_ += "end\n";
    }

    const Component& top_;
    std::vector<const Component*> owned_;
    std::vector<const Component*> siblings_;
    std::set<const Component*> written_;
    std::string out_;
};

}  // namespace

std::string SaveComponent(const Component& component) { return Writer(component).Run(); }

}  // namespace tk
