#include "platform/vcl/FormDesign.h"

#include "platform/core/Resources.h"
#include "platform/core/WorkAhead.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/StdCtrls.h"

#include <cctype>
#include <map>
#include <memory>
#include <mutex>

namespace platform::vcl {

namespace {

struct NoCaseLess {
    bool operator()(const std::string& a, const std::string& b) const {
        return std::lexicographical_compare(
            a.begin(), a.end(), b.begin(), b.end(),
            [](unsigned char x, unsigned char y) { return std::tolower(x) < std::tolower(y); });
    }
};

template <class T> TComponentFactory Make() {
    return [](TComponent* owner) -> TComponent* { return new T(owner); };
}

std::map<std::string, TComponentFactory, NoCaseLess>& Registry() {
    static std::map<std::string, TComponentFactory, NoCaseLess> registry = {
        {"TLabel", Make<TLabel>()},
        {"TEdit", Make<TEdit>()},
        {"TMemo", Make<TMemo>()},
        {"TComboBox", Make<TComboBox>()},
        {"TListBox", Make<TListBox>()},
        {"TCheckBox", Make<TCheckBox>()},
        {"TRadioButton", Make<TRadioButton>()},
        {"TGroupBox", Make<TGroupBox>()},
        {"TButton", Make<TButton>()},
        {"TImage", Make<TImage>()},
        {"TPanel", Make<TPanel>()},
        {"TShape", Make<TShape>()},
        {"TTimer", Make<TTimer>()},
        {"TPageControl", Make<TPageControl>()},
        {"TTabSheet", Make<TTabSheet>()},
        {"TOpenDialog", Make<TOpenDialog>()},
        {"TSaveDialog", Make<TSaveDialog>()},
    };
    return registry;
}

struct Property {
    std::string name;
    TDesignValue value;
    int line = 0;
};

struct Node {
    std::string name;
    std::string className;
    int line = 0;
    std::vector<Property> properties;
    std::vector<std::unique_ptr<Node>> children;
};

// Reads the design text into a tree; every error names the source and the line.
class Parser {
public:
    Parser(std::string_view text, const std::string& source) : text_(text), source_(source) {}

    std::unique_ptr<Node> Parse() {
        std::unique_ptr<Node> root;
        std::vector<Node*> open;
        while (NextLine()) {
            std::string_view rest = line_;
            if (rest.empty() || rest.substr(0, 2) == "//") continue;
            if (StartsWord(rest, "object")) {
                auto node = ParseObject(rest.substr(6));
                Node* raw = node.get();
                if (open.empty()) {
                    if (root) Fail("a second top-level object " + node->name);
                    root = std::move(node);
                } else {
                    open.back()->children.push_back(std::move(node));
                }
                open.push_back(raw);
            } else if (rest == "end") {
                if (open.empty()) Fail("'end' without an object");
                open.pop_back();
            } else {
                if (open.empty()) Fail("a property outside any object");
                open.back()->properties.push_back(ParseProperty(rest));
            }
        }
        if (!root) Fail("no object", 0);
        if (!open.empty()) Fail("object " + open.back()->name + " has no 'end'", 0);
        return root;
    }

private:
    [[noreturn]] void Fail(const std::string& what, int line = -1) const {
        const int at = line < 0 ? lineNo_ : line;
        throw rtl::Exception("Form design " + source_ +
                             (at > 0 ? ", line " + std::to_string(at) : "") + ": " + what);
    }

    bool NextLine() {
        if (pos_ >= text_.size()) return false;
        size_t end = text_.find('\n', pos_);
        if (end == std::string_view::npos) end = text_.size();
        line_ = Trim(text_.substr(pos_, end - pos_));
        pos_ = end + 1;
        ++lineNo_;
        return true;
    }

    static std::string_view Trim(std::string_view s) {
        while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
            s.remove_prefix(1);
        while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
            s.remove_suffix(1);
        return s;
    }

    static bool StartsWord(std::string_view s, std::string_view word) {
        return s.size() > word.size() && s.substr(0, word.size()) == word &&
               std::isspace(static_cast<unsigned char>(s[word.size()]));
    }

    static bool IsIdent(std::string_view s, bool dots) {
        if (s.empty() || !(std::isalpha(static_cast<unsigned char>(s[0])) || s[0] == '_'))
            return false;
        for (char c : s)
            if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || (dots && c == '.')))
                return false;
        return true;
    }

    std::unique_ptr<Node> ParseObject(std::string_view rest) {
        const size_t colon = rest.find(':');
        if (colon == std::string_view::npos) Fail("expected 'object Name: TClass'");
        auto node = std::make_unique<Node>();
        node->name = std::string(Trim(rest.substr(0, colon)));
        node->className = std::string(Trim(rest.substr(colon + 1)));
        node->line = lineNo_;
        if (!IsIdent(node->name, false) || !IsIdent(node->className, false))
            Fail("expected 'object Name: TClass'");
        return node;
    }

    Property ParseProperty(std::string_view rest) {
        const size_t eq = rest.find('=');
        if (eq == std::string_view::npos)
            Fail("expected 'Property = value', found '" + std::string(rest) + "'");
        Property p;
        p.name = std::string(Trim(rest.substr(0, eq)));
        p.line = lineNo_;
        if (!IsIdent(p.name, true)) Fail("'" + p.name + "' is not a property name");
        std::string_view v = Trim(rest.substr(eq + 1));
        if (v.empty()) Fail("property " + p.name + " has no value");
        if (v.front() == '(')
            p.value = ParseList(v.substr(1), p.name);
        else if (v.front() == '[')
            p.value = ParseSet(v, p.name);
        else
            p.value = ParseScalar(v, p.name);
        return p;
    }

    // A quoted text at the start of s; s moves past it.
    std::string ParseString(std::string_view& s, const std::string& prop) {
        std::string out;
        size_t i = 1;
        for (;;) {
            if (i >= s.size()) Fail("property " + prop + ": unterminated text");
            if (s[i] == '\'') {
                if (i + 1 < s.size() && s[i + 1] == '\'') {
                    out += '\'';
                    i += 2;
                    continue;
                }
                break;
            }
            out += s[i++];
        }
        s.remove_prefix(i + 1);
        return out;
    }

    TDesignValue ParseScalar(std::string_view v, const std::string& prop) {
        TDesignValue value;
        if (v.front() == '\'') {
            value.kind = TDesignValue::Kind::String;
            value.text = ParseString(v, prop);
            if (!Trim(v).empty())
                Fail("property " + prop + ": text followed by '" + std::string(Trim(v)) + "'");
            return value;
        }
        if (IsIdent(v, true)) {
            value.kind = TDesignValue::Kind::Identifier;
            value.text = std::string(v);
            return value;
        }
        std::string digits(v);
        bool negative = false;
        if (!digits.empty() && digits[0] == '-') {
            negative = true;
            digits.erase(0, 1);
        }
        int base = 10;
        if (!digits.empty() && digits[0] == '$') {
            base = 16;
            digits.erase(0, 1);
        }
        size_t used = 0;
        long long n = 0;
        try {
            n = std::stoll(digits, &used, base);
        } catch (const std::exception&) {
            used = 0;
        }
        if (digits.empty() || used != digits.size() ||
            !std::isxdigit(static_cast<unsigned char>(digits[0])))
            Fail("property " + prop + ": '" + std::string(v) + "' is not a value");
        value.kind = TDesignValue::Kind::Integer;
        value.number = negative ? -n : n;
        return value;
    }

    // Texts until the closing parenthesis, over as many lines as needed.
    TDesignValue ParseList(std::string_view rest, const std::string& prop) {
        TDesignValue value;
        value.kind = TDesignValue::Kind::List;
        const int startLine = lineNo_;
        for (;;) {
            rest = Trim(rest);
            if (rest.empty()) {
                if (!NextLine()) Fail("property " + prop + ": list without ')'", startLine);
                rest = line_;
                continue;
            }
            if (rest.front() == ')') {
                if (!Trim(rest.substr(1)).empty()) Fail("property " + prop + ": text after ')'");
                return value;
            }
            if (rest.front() != '\'') Fail("property " + prop + ": list items must be quoted");
            value.items.push_back(ParseString(rest, prop));
            rest = Trim(rest);
            if (!rest.empty() && rest.front() == ',') rest.remove_prefix(1);
        }
    }

    TDesignValue ParseSet(std::string_view v, const std::string& prop) {
        TDesignValue value;
        value.kind = TDesignValue::Kind::Set;
        if (v.back() != ']') Fail("property " + prop + ": set without ']'");
        std::string_view inner = v.substr(1, v.size() - 2);
        while (!Trim(inner).empty()) {
            const size_t comma = inner.find(',');
            const std::string_view item = Trim(inner.substr(0, comma));
            if (!IsIdent(item, false))
                Fail("property " + prop + ": '" + std::string(item) + "' is not a set member");
            value.items.emplace_back(item);
            if (comma == std::string_view::npos) break;
            inner.remove_prefix(comma + 1);
        }
        return value;
    }

    std::string_view text_;
    std::string source_;
    size_t pos_ = 0;
    int lineNo_ = 0;
    std::string_view line_;
};

bool IsEvent(const std::string& name) {
    return name.size() > 2 && name[0] == 'O' && name[1] == 'n' &&
           std::isupper(static_cast<unsigned char>(name[2]));
}

struct PendingEvent {
    TComponent* component;
    const Node* node;
    const Property* property;
};

void EndLoadingOf(TComponent& owner) {
    for (TComponent* c : owner.Components()) {
        c->EndLoading();
        EndLoadingOf(*c);
    }
}

class Builder {
public:
    Builder(TForm& form, const std::string& source, const TFormBinding& binding)
        : form_(form), source_(source), binding_(binding) {}

    void Build(const Node& root) {
        if (!rtl::SameText(root.className, binding_.className))
            Fail(root.line,
                 "the design is for " + root.className + ", the form is " + binding_.className);
        form_.SetName(root.name);
        Apply(form_, root);
        {
            // However the building ends, nothing it made stays loading.
            struct EndLoading {
                TComponent& form;
                ~EndLoading() { EndLoadingOf(form); }
            } endLoading{form_};
            TDesignLoading loading;
            for (const auto& child : root.children)
                Create(*child, &form_);
        }
        BindFields();
        BindEvents();
        for (TComponent* c : created_)
            c->Loaded();
        form_.Loaded();
    }

private:
    [[noreturn]] void Fail(int line, const std::string& what) const {
        throw rtl::Exception("Form design " + source_ + ", line " + std::to_string(line) + ": " +
                             what);
    }

    void Create(const Node& node, TComponent* parent) {
        auto it = Registry().find(node.className);
        if (it == Registry().end())
            Fail(node.line, "unknown class " + node.className + " of " + node.name);
        TComponent* c = it->second(&form_);
        try {
            c->SetName(node.name);
        } catch (const std::exception& e) {
            delete c;
            Fail(node.line, e.what());
        }
        created_.push_back(c);
        if (auto* control = dynamic_cast<TControl*>(c)) {
            auto* container = dynamic_cast<TWinControl*>(parent);
            if (!container)
                Fail(node.line, parent->Name() + " (" + ClassOf(parent) +
                                    ") cannot be the parent of " + node.name);
            control->SetParent(container);
        }
        Apply(*c, node);
        for (const auto& child : node.children)
            Create(*child, c);
    }

    std::string ClassOf(const TComponent* c) const {
        auto it = classes_.find(c);
        return it == classes_.end() ? binding_.className : it->second;
    }

    void Apply(TComponent& c, const Node& node) {
        classes_[&c] = node.className;
        for (const Property& p : node.properties) {
            if (IsEvent(p.name)) {
                if (p.value.kind != TDesignValue::Kind::Identifier)
                    Fail(p.line, "event " + p.name + " of " + node.name + " needs a handler name");
                events_.push_back({&c, &node, &p});
                continue;
            }
            bool known = false;
            try {
                known = c.SetDesignProperty(p.name, p.value);
            } catch (const std::exception& e) {
                Fail(p.line, "property " + p.name + " of " + node.name + ": " + e.what());
            }
            if (!known)
                Fail(p.line, node.className + " " + node.name + " has no property " + p.name);
        }
    }

    void BindFields() {
        std::string missing;
        for (const TFormField& f : binding_.fields) {
            TComponent* c = form_.FindComponent(f.name);
            if (!c) {
                missing += (missing.empty() ? "" : ", ") + f.name;
                continue;
            }
            if (!f.assign(c)) {
                throw rtl::Exception("Form design " + source_ + ": field " + f.name +
                                     " cannot hold the " + ClassOf(c) + " of the design");
            }
        }
        if (!missing.empty())
            throw rtl::Exception("Form design " + source_ + ": no component for the field(s) " +
                                 missing);
    }

    void BindEvents() {
        for (const PendingEvent& e : events_) {
            const std::string& handlerName = e.property->value.text;
            const TFormHandler* handler = nullptr;
            for (const TFormHandler& h : binding_.handlers)
                if (rtl::SameText(h.name, handlerName)) handler = &h;
            if (!handler)
                Fail(e.property->line, "unknown handler " + handlerName + " for " + e.node->name +
                                           "." + e.property->name);
            bool known = false;
            try {
                known = e.component->SetDesignEvent(e.property->name, handler->handler);
            } catch (const std::exception& ex) {
                Fail(e.property->line, "handler " + handlerName + " for " + e.node->name + "." +
                                           e.property->name + ": " + ex.what());
            }
            if (!known)
                Fail(e.property->line,
                     e.node->className + " " + e.node->name + " has no event " + e.property->name);
        }
    }

    TForm& form_;
    std::string source_;
    const TFormBinding& binding_;
    std::vector<TComponent*> created_;
    std::vector<PendingEvent> events_;
    std::map<const TComponent*, std::string> classes_;
};

} // namespace

void RegisterComponentClass(const std::string& className, TComponentFactory factory) {
    Registry()[className] = std::move(factory);
}

bool IsComponentClassRegistered(const std::string& className) {
    return Registry().count(className) != 0;
}

void LoadFormDesignText(TForm& form, std::string_view text, const std::string& sourceName,
                        const TFormBinding& binding) {
    const std::unique_ptr<Node> root = Parser(text, sourceName).Parse();
    Builder(form, sourceName, binding).Build(*root);
}

namespace {

std::string_view DesignText(const std::string& resourceName) {
    const core::ResourceEntry* entry = core::FindResource(resourceName, "RC_DATA");
    if (!entry) throw rtl::Exception("Form design " + resourceName + ": resource not found");
    return {reinterpret_cast<const char*>(entry->data), entry->size};
}

} // namespace

struct TFormDesignsAhead::TRead {
    std::mutex lock;
    std::unordered_map<std::string, std::unique_ptr<Node>, CaseBlindHash, CaseBlindEqual> designs;
    // Last, so that its thread ends before what it fills goes.
    std::unique_ptr<core::TWorkAhead> work;
};

namespace {

TFormDesignsAhead::TRead* g_designsAhead = nullptr;

// The design of that name as read ahead, once; null when there is none.
std::unique_ptr<Node> TakeDesignReadAhead(const std::string& resourceName) {
    TFormDesignsAhead::TRead* read = g_designsAhead;
    if (!read || !read->work->Await(resourceName)) return nullptr;
    std::lock_guard guard(read->lock);
    const auto found = read->designs.find(resourceName);
    if (found == read->designs.end()) return nullptr;
    std::unique_ptr<Node> root = std::move(found->second);
    read->designs.erase(found);
    return root;
}

} // namespace

TFormDesignsAhead::TFormDesignsAhead(const std::vector<std::string>& resourceNames)
    : read_(std::make_unique<TRead>()) {
    read_->work = std::make_unique<core::TWorkAhead>(
        resourceNames,
        [read = read_.get()](const std::string& name) {
            std::unique_ptr<Node> root = Parser(DesignText(name), name).Parse();
            std::lock_guard guard(read->lock);
            read->designs[name] = std::move(root);
        },
        "form designs");
    g_designsAhead = read_.get();
}

TFormDesignsAhead::~TFormDesignsAhead() {
    if (g_designsAhead == read_.get()) g_designsAhead = nullptr;
}

std::vector<std::string> TFormDesignsAhead::NeverAsked() {
    return read_->work->NeverAsked();
}

void LoadFormDesign(TForm& form, const std::string& resourceName, const TFormBinding& binding) {
    if (const std::unique_ptr<Node> root = TakeDesignReadAhead(resourceName)) {
        Builder(form, resourceName, binding).Build(*root);
        return;
    }
    LoadFormDesignText(form, DesignText(resourceName), resourceName, binding);
}

} // namespace platform::vcl
