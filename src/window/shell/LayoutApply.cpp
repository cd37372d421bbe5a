#include "window/shell/LayoutApply.h"

#include "controls/skin/FrameCtrls.h"
#include "controls/skin/SkinCtrls.h"
#include "platform/rtl/SysUtils.h"
#include "window/Main.h"
#include "window/shell/LayoutText.h"

#include <algorithm>

namespace window::shell {

std::string LayoutName(const std::string& prefix, int n, const std::string& suffix) {
    return prefix + std::to_string(n) + suffix;
}

std::vector<std::string> LayoutNames(const std::string& prefix, int from, int to,
                                     const std::string& suffix) {
    std::vector<std::string> names;
    for (int i = from; i <= to; ++i)
        names.push_back(LayoutName(prefix, i, suffix));
    return names;
}

TLayoutApplier::TLayoutApplier(TForm1& form, const platform::rtl::TMemIniFile& ini,
                               std::string section)
    : form_(form), ini_(ini), section_(std::move(section)) {}

int TLayoutApplier::Integer(const std::string& key) {
    report_.KeysRead.push_back(key);
    return ReadLayoutInteger(ini_, section_, key);
}

LayoutRgb TLayoutApplier::ReadRgb(const std::string& prefix) {
    LayoutRgb rgb;
    rgb.R = Integer(prefix + "_R");
    rgb.G = Integer(prefix + "_G");
    rgb.B = Integer(prefix + "_B");
    return rgb;
}

platform::vcl::TColor TLayoutApplier::ReadColor(const std::string& prefix) {
    return ReadRgb(prefix).Color();
}

TLayoutApplier::Point TLayoutApplier::ReadPoint(const std::string& prefix) {
    Point p;
    p.X = Integer(prefix + "_X");
    p.Y = Integer(prefix + "_Y");
    return p;
}

platform::vcl::TControl* TLayoutApplier::Find(const std::string& name) {
    platform::vcl::TComponent* component = form_.FindComponent(name);
    if (!component) {
        // Pages whose controls are still to come in the design keep their keys; the
        // values simply have nowhere to go yet.
        if (std::find(report_.AbsentControls.begin(), report_.AbsentControls.end(), name) ==
            report_.AbsentControls.end())
            report_.AbsentControls.push_back(name);
        return nullptr;
    }
    auto* control = dynamic_cast<platform::vcl::TControl*>(component);
    if (!control) throw platform::rtl::Exception("Component " + name + " is not a control");
    return control;
}

template <class T> T* TLayoutApplier::FindAs(const std::string& name) {
    platform::vcl::TControl* control = Find(name);
    if (!control) return nullptr;
    T* typed = dynamic_cast<T*>(control);
    if (!typed) throw platform::rtl::Exception("Component " + name + " has the wrong class");
    return typed;
}

void TLayoutApplier::SetFontSize(const std::vector<std::string>& names, int size) {
    for (const std::string& name : names)
        if (platform::vcl::TControl* c = Find(name)) {
            c->Font().SetSize(size);
            report_.FontControls.push_back(name);
        }
}

void TLayoutApplier::SetFontColor(const std::vector<std::string>& names,
                                  platform::vcl::TColor color) {
    for (const std::string& name : names)
        if (platform::vcl::TControl* c = Find(name)) c->Font().SetColor(color);
}

void TLayoutApplier::SetColor(const std::vector<std::string>& names, platform::vcl::TColor color) {
    for (const std::string& name : names)
        if (platform::vcl::TControl* c = Find(name)) c->SetColor(color);
}

void TLayoutApplier::SetBorderColor(const std::vector<std::string>& names,
                                    platform::vcl::TColor color) {
    for (const std::string& name : names) {
        platform::vcl::TControl* c = Find(name);
        if (!c) continue;
        if (auto* panel = dynamic_cast<controls::skin::TFramePanel*>(c))
            panel->SetBorderColor(color);
        else if (auto* edit = dynamic_cast<controls::skin::TSkinEdit*>(c))
            edit->SetBorderColor(color);
        else if (auto* list = dynamic_cast<controls::skin::TSkinListBox*>(c))
            list->SetBorderColor(color);
        else
            throw platform::rtl::Exception("Component " + name + " has no border colour");
    }
}

void TLayoutApplier::PlaceAt(const std::string& name, int x, int y) {
    if (platform::vcl::TControl* c = Find(name)) {
        c->SetLeft(x);
        c->SetTop(y);
    }
}

int TLayoutApplier::WidthOf(const std::string& name) {
    platform::vcl::TControl* c = Find(name);
    return c ? c->Width() : 0;
}

int TLayoutApplier::HeightOf(const std::string& name) {
    platform::vcl::TControl* c = Find(name);
    return c ? c->Height() : 0;
}

void TLayoutApplier::PlaceOnImage(const std::string& name, const std::string& image, int x, int y) {
    platform::vcl::TControl* c = Find(name);
    if (!c) return;
    c->SetLeft(x);
    c->SetTop(y);
    c->SetHeight(HeightOf(image));
    c->SetWidth(WidthOf(image));
}

void TLayoutApplier::ImageWithLabel(const std::string& prefix, const std::string& image,
                                    const std::string& label) {
    const Point p = ReadPoint(prefix);
    PlaceAt(image, p.X, p.Y);
    PlaceOnImage(label, image, p.X, p.Y);
}

void TLayoutApplier::HeaderButton(const std::string& prefix, const std::string& image,
                                  const std::string& label, int front, int back) {
    const bool enabled = Integer(prefix + "_Enable") == 1;
    for (int k = 1; k <= 5; ++k) {
        form_.Named<platform::vcl::TControl>(LayoutName(label + "_", k)).SetVisible(enabled);
        form_.Named<platform::vcl::TControl>(LayoutName(image + "_", k)).SetVisible(enabled);
    }
    // A hidden button keeps its place; its position keys may be left out of the text.
    if (!enabled) return;
    const Point p = ReadPoint(prefix);
    for (int k = 1; k <= 5; ++k) {
        auto& img = form_.Named<platform::vcl::TControl>(LayoutName(image + "_", k));
        auto& lbl = form_.Named<platform::vcl::TControl>(LayoutName(label + "_", k));
        img.SetLeft(p.X);
        img.SetTop(p.Y);
        lbl.SetLeft(front + p.X);
        lbl.SetTop(p.Y);
        lbl.SetHeight(img.Height());
        lbl.SetWidth(img.Width() - front - back);
    }
    // A caption too long for its group's size in this language has a size of its own.
    const std::string ownSize = prefix + "_Size";
    if (ini_.ValueExists(section_, ownSize))
        SetFontSize(LayoutNames(label + "_", 1, 5), Integer(ownSize));
}

LayoutReport ApplyLayoutSection(TForm1& form, const platform::rtl::TMemIniFile& ini,
                                const std::string& section) {
    TLayoutApplier applier(form, ini, section);
    applier.ApplyChrome();
    applier.ApplyMenuButtons();
    applier.ApplyKeyPage();
    applier.ApplyKeyMenu();
    applier.ApplyPerformancePage();
    applier.ApplyLightingPage();
    applier.ApplyMacroPage();
    applier.ApplyUpdatePage();
    applier.ApplyFirePage();
    return applier.Report();
}

} // namespace window::shell
