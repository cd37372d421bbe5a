#pragma once
// The root of the component library: TObject, and TComponent with its name, owner and the
// components it owns. The form design reaches every component through the two design
// hooks below, so classes of later layers bring their own properties and events along.
#include "platform/rtl/SysUtils.h"

#include <any>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace platform::vcl {

class TObject {
public:
    virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

// One property value as the form design writes it: a number, a quoted text, an
// identifier (True, clMaroon, poScreenCenter), a list of texts ('a' 'b') or a set of
// identifiers [fsBold]. The readers throw a rtl::Exception when the value has the
// wrong kind.
struct TDesignValue {
    enum class Kind { Integer, String, Identifier, List, Set };
    Kind kind = Kind::Integer;
    long long number = 0;
    std::string text;
    std::vector<std::string> items;

    int AsInt() const;
    bool AsBool() const;
    const std::string& AsString() const;
    const std::string& AsIdent() const;
    const std::vector<std::string>& AsList() const;
    const std::vector<std::string>& AsSet() const;
};

// Hashing and comparing names without regard to case, for lookups by any kind of text.
struct CaseBlindHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const;
};
struct CaseBlindEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return rtl::SameText(a, b); }
};

class TComponent : public TObject {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    const std::string& Name() const { return name_; }
    // Throws when another component of the same owner already has the name (compared
    // without regard to case).
    void SetName(const std::string& name);
    TComponent* Owner() const { return owner_; }
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    // The owned component of that name, compared without regard to case; null if none.
    // Found through an index of the owned components by name, kept as they come, are
    // renamed and go.
    TComponent* FindComponent(std::string_view name) const;
    const std::vector<TComponent*>& Components() const { return components_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }

    // True once destruction has begun; events are no longer delivered then.
    bool IsDestroying() const { return destroying_; }
    // True for a component the form design loader creates, from its creation until the
    // loader ends the loading, just before the components' Loaded runs: work that depends
    // on all of the design's properties (and children) can wait for Loaded then.
    bool IsLoading() const { return loading_; }
    void EndLoading() { loading_ = false; }

    // Form design hooks. SetDesignProperty returns false for a property the class does
    // not have; SetDesignEvent returns false for an event it does not have and throws
    // when the handler's signature does not fit the event.
    virtual bool SetDesignProperty(const std::string& name, const TDesignValue& value);
    virtual bool SetDesignEvent(const std::string& name, const std::any& handler);
    // Runs once every property of the design has been set.
    virtual void Loaded() {}

protected:
    // Deletes the owned components, newest first.
    void DestroyComponents();
    // Marks this component and everything it owns as being destroyed.
    void BeginDestroy();

private:
    void InsertComponent(TComponent* c);
    void RemoveComponent(TComponent* c);
    void IndexName(TComponent* c);
    void UnindexName(const TComponent* c);

    std::string name_;
    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    // The named owned components.
    std::unordered_map<std::string, TComponent*, CaseBlindHash, CaseBlindEqual> byName_;
    int tag_ = 0;
    bool destroying_ = false;
    bool loading_ = false;
};

// While one lives, the components created on its thread are loading (IsLoading): the
// form design loader holds one as it builds a form.
class TDesignLoading {
public:
    TDesignLoading();
    ~TDesignLoading();
    TDesignLoading(const TDesignLoading&) = delete;
    TDesignLoading& operator=(const TDesignLoading&) = delete;
};

[[noreturn]] void ThrowHandlerMismatch();
[[noreturn]] void ThrowUnknownValue(const std::string& ident);

// An enumeration property of the form design, by the names of its values.
template <class E, size_t N>
E DesignEnum(const TDesignValue& value, const std::pair<const char*, E> (&names)[N]) {
    const std::string& ident = value.AsIdent();
    for (const auto& [name, e] : names)
        if (rtl::SameText(ident, name)) return e;
    ThrowUnknownValue(ident);
}

// Stores a design handler into an event slot when its signature fits; throws otherwise.
template <class F> bool BindDesignHandler(const std::any& handler, F& slot) {
    const F* f = std::any_cast<F>(&handler);
    if (!f) ThrowHandlerMismatch();
    slot = *f;
    return true;
}

} // namespace platform::vcl
