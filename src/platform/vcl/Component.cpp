#include "platform/vcl/Component.h"

#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <cctype>

namespace platform::vcl {

namespace {
const char* KindName(TDesignValue::Kind k) {
    switch (k) {
    case TDesignValue::Kind::Integer:
        return "a number";
    case TDesignValue::Kind::String:
        return "a text";
    case TDesignValue::Kind::Identifier:
        return "an identifier";
    case TDesignValue::Kind::List:
        return "a list of texts";
    case TDesignValue::Kind::Set:
        return "a set";
    }
    return "a value";
}

void Expect(const TDesignValue& v, TDesignValue::Kind k) {
    if (v.kind != k)
        throw rtl::Exception(std::string("expected ") + KindName(k) + ", found " +
                             KindName(v.kind));
}
} // namespace

int TDesignValue::AsInt() const {
    Expect(*this, Kind::Integer);
    return static_cast<int>(number);
}

bool TDesignValue::AsBool() const {
    if (kind == Kind::Identifier) {
        if (rtl::SameText(text, "True")) return true;
        if (rtl::SameText(text, "False")) return false;
    }
    throw rtl::Exception("expected True or False");
}

const std::string& TDesignValue::AsString() const {
    Expect(*this, Kind::String);
    return text;
}

const std::string& TDesignValue::AsIdent() const {
    Expect(*this, Kind::Identifier);
    return text;
}

const std::vector<std::string>& TDesignValue::AsList() const {
    Expect(*this, Kind::List);
    return items;
}

const std::vector<std::string>& TDesignValue::AsSet() const {
    Expect(*this, Kind::Set);
    return items;
}

void ThrowHandlerMismatch() {
    throw rtl::Exception("the handler's parameters do not fit the event");
}

void ThrowUnknownValue(const std::string& ident) {
    throw rtl::Exception("unknown value " + ident);
}

size_t CaseBlindHash::operator()(std::string_view text) const {
    // FNV-1a over the upper-cased bytes.
    size_t hash = 14695981039346656037ull;
    for (char c : text) {
        hash ^= static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        hash *= 1099511628211ull;
    }
    return hash;
}

namespace {
thread_local int t_designLoads = 0;
} // namespace

TDesignLoading::TDesignLoading() {
    ++t_designLoads;
}

TDesignLoading::~TDesignLoading() {
    --t_designLoads;
}

TComponent::TComponent(TComponent* owner) : loading_(t_designLoads > 0) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    BeginDestroy();
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::SetName(const std::string& name) {
    if (name == name_) return;
    if (owner_ && !name.empty()) {
        const TComponent* other = owner_->FindComponent(name);
        if (other && other != this)
            throw rtl::Exception("A component named " + name + " already exists");
    }
    if (owner_) owner_->UnindexName(this);
    name_ = name;
    if (owner_) owner_->IndexName(this);
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty()) return nullptr;
    auto found = byName_.find(name);
    return found == byName_.end() ? nullptr : found->second;
}

void TComponent::IndexName(TComponent* c) {
    if (!c->name_.empty()) byName_.emplace(c->name_, c);
}

void TComponent::UnindexName(const TComponent* c) {
    if (c->name_.empty()) return;
    auto found = byName_.find(c->name_);
    if (found != byName_.end() && found->second == c) byName_.erase(found);
}

bool TComponent::SetDesignProperty(const std::string& name, const TDesignValue& value) {
    if (name == "Tag") {
        SetTag(value.AsInt());
        return true;
    }
    return false;
}

bool TComponent::SetDesignEvent(const std::string&, const std::any&) {
    return false;
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* c = components_.back();
        components_.pop_back();
        UnindexName(c);
        c->owner_ = nullptr;
        delete c;
    }
}

void TComponent::BeginDestroy() {
    if (destroying_) return;
    destroying_ = true;
    for (TComponent* c : components_)
        c->BeginDestroy();
}

void TComponent::InsertComponent(TComponent* c) {
    c->owner_ = this;
    components_.push_back(c);
    IndexName(c);
}

void TComponent::RemoveComponent(TComponent* c) {
    components_.erase(std::remove(components_.begin(), components_.end(), c), components_.end());
    UnindexName(c);
    c->owner_ = nullptr;
}

} // namespace platform::vcl
