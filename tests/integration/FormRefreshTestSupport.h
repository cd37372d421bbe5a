#pragma once
// What the refresh tests share: a refresh run the way its callers run it, and short
// accessors of the controls it fills.
#include "DeviceFixture.h"

#include "window/shell/SkinImages.h"

namespace devtest {

class FormRefreshTest : public FormDeviceTest {
protected:
    void Refresh() {
        window::shell::UiLoadingFlag = 1;
        form->RefreshUI();
        window::shell::UiLoadingFlag = 0;
    }
    int Item(const std::string& name) const {
        return form->Named<platform::vcl::TComboBox>(name).ItemIndex();
    }
    std::string Text(const std::string& name) const { return TextOf(name.c_str()); }
    std::string Picture(const std::string& name) const {
        return form->Named<platform::vcl::TImage>(name).PictureName();
    }
    bool Checked(const std::string& name) const {
        platform::vcl::TComponent& c = form->Named<platform::vcl::TComponent>(name);
        if (auto* box = dynamic_cast<platform::vcl::TCheckBox*>(&c)) return box->Checked();
        return form->Named<platform::vcl::TRadioButton>(name).Checked();
    }
    bool Enabled(const std::string& name) const {
        return form->Named<platform::vcl::TControl>(name).Enabled();
    }
    bool Shown(const std::string& name) const {
        return form->Named<platform::vcl::TControl>(name).Visible();
    }
    platform::vcl::TColor FontColor(const std::string& name) const {
        return form->Named<platform::vcl::TControl>(name).Font().Color();
    }
    platform::vcl::TColor Brush(const std::string& name) const {
        return form->Named<platform::vcl::TShape>(name).BrushColor();
    }
    // Puts a picture the refresh never draws into an image, to see whether it is redrawn.
    void Mark(const std::string& image) {
        platform::vcl::TPngImage png;
        window::shell::LoadSkinPng(form->Named<platform::vcl::TImage>(image), "WebS_01", png);
    }
    // Level n's CPI value nibble in the vendor copy.
    void SetLevelNibble(int n, int nibble) {
        uint8_t& pair = form->VendorCopy[44 + (n - 1) / 2];
        pair = n % 2 ? (pair & 0xF0) | nibble : (pair & 0x0F) | (nibble << 4);
    }
};

} // namespace devtest
