#pragma once
// A form's design as data: a text resource lists every component of the form, nested
// as the controls are, with their properties and the names of their event handlers.
//
//   object Form1: TForm1
//     Caption = 'Main window'
//     ClientWidth = 1030
//     OnCreate = FormCreate
//     object gbPage1: TGroupBox
//       Left = 0
//       Items = (
//         'first'
//         'second')
//       Font.Style = [fsBold]
//       OnClick = gbPage1Click
//     end
//   end
//
// Values: 'text' ('' is a quote), numbers (decimal or $hex), identifiers (True, clMaroon,
// poScreenCenter), lists of texts in parentheses, sets of identifiers in brackets. Lines
// starting with // are comments. A component nested in another control has that control
// as its parent. Properties starting with "On" name event handlers, bound once every
// component exists.
//
// The form class supplies a binding: its class name, its fields (filled with the
// components of the same name) and its handlers (by name). Anything the loader cannot
// place - an unknown class, property, event, handler, a parent that cannot hold
// controls, a malformed line, a missing resource, a field the design lacks or of
// another class - raises a rtl::Exception naming the design, the line and the item.
#include "platform/vcl/Forms.h"

#include <any>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform::vcl {

using TComponentFactory = std::function<TComponent*(TComponent* owner)>;
// Makes a class name known to the designs; a later registration replaces an earlier one.
// Layers above the library register their own classes before any form is loaded.
void RegisterComponentClass(const std::string& className, TComponentFactory factory);
bool IsComponentClassRegistered(const std::string& className);

struct TFormField {
    std::string name;
    // Stores the component into the field; false when it has the wrong class.
    std::function<bool(TComponent*)> assign;
};

template <class T> TFormField Field(std::string name, T*& field) {
    return {std::move(name), [&field](TComponent* c) {
                field = dynamic_cast<T*>(c);
                return field != nullptr;
            }};
}

struct TFormHandler {
    std::string name;
    std::any handler; // a std::function of the event's type
};

template <class C, class... A>
TFormHandler Handler(std::string name, C* object, void (C::*method)(A...)) {
    return {std::move(name), std::function<void(A...)>([object, method](A... args) {
                (object->*method)(std::forward<A>(args)...);
            })};
}

struct TFormBinding {
    std::string className;
    std::vector<TFormField> fields;
    std::vector<TFormHandler> handlers;
};

// Builds the form from the design resource of that name (type "RC_DATA").
void LoadFormDesign(TForm& form, const std::string& resourceName, const TFormBinding& binding);
// The same from a design text; sourceName names it in error messages.
void LoadFormDesignText(TForm& form, std::string_view text, const std::string& sourceName,
                        const TFormBinding& binding);

// The design resources of these names read on a thread of their own while the program
// starts; LoadFormDesign then builds from the design read ahead instead of reading its
// text again. A design that could not be read ahead is read by LoadFormDesign, which
// raises what is wrong with it. One object at a time.
class TFormDesignsAhead {
public:
    explicit TFormDesignsAhead(const std::vector<std::string>& resourceNames);
    // Lets the design in hand finish and waits for the thread.
    ~TFormDesignsAhead();
    TFormDesignsAhead(const TFormDesignsAhead&) = delete;
    TFormDesignsAhead& operator=(const TFormDesignsAhead&) = delete;

    // The names on the list no load has asked for yet, in list order.
    std::vector<std::string> NeverAsked();

    struct TRead;

private:
    std::unique_ptr<TRead> read_;
};

} // namespace platform::vcl
