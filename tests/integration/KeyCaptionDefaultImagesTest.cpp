// The key names of the three default images, read from the simulated mouse: the 36
// engineering key buttons, the user page's labels per profile, the key-name cache and
// the combination keys, with the hold boxes and profile colours the names set.
#include "DeviceFixture.h"

#include "window/device/KeyCaptions.h"

namespace devtest {
namespace {

using device::image::ProfileKeyCount;
using Names = std::array<const char*, ProfileKeyCount>;

const Names kProfile1Media = {"Left Key",   "Previous Track", "Home",       "Right Key",
                              "Next Track", "Volume -",       "Play/Pause", "DPI Loop",
                              "Key Off",    "Key Off",        "Key Off",    "Key Off"};
const Names kProfile3Lighting = {"Left Key",   "Backward", "Fire Key3",  "Right Key",
                                 "Forward",    "Desktop",  "Middle Key", "DPI Loop",
                                 "LED Switch", "LED Mode", "Volume +",   "Volume -"};

struct ImageNames {
    int image;
    std::array<Names, 3> profiles;
    std::array<const char*, 9> combos;
};

const ImageNames kImages[] = {
    {1,
     {kProfile1Media,
      Names{"Left Key", "Backward", "Fire Key1", "Right Key", "Forward", "DPI Loop", "Middle Key",
            "DPI Loop", "Key Off", "Key Off", "Key Off", "Key Off"},
      kProfile3Lighting},
     {"Key Off", "Key Off", "Button Effect Switch", "Game Mode", "Key Off", "Key Off", "Key Off",
      "Key Off", "Key Off"}},
    {2,
     {kProfile1Media,
      Names{"Fire Macro Key", "7.62mm Fire", "Adjust XY Fn", "Right Key", "5.56mm Fire", "DPI Loop",
            "Middle Key", "DPI Loop", "Key Off", "Key Off", "Key Off", "Key Off"},
      kProfile3Lighting},
     {"Key Off", "Key Off", "Button Effect Switch", "Game Mode", "Key Off", "Key Off", "Key Off",
      "Key Off", "Key Off"}},
    {3,
     {Names{"Left Key", "Backward", "Fire Key1", "Right Key", "Forward", "Volume -", "Middle Key",
            "DPI Loop", "Key Off", "Key Off", "Key Off", "Key Off"},
      Names{"Fire Macro Key", "7.62mm Fire", "DPI Loop", "Right Key", "5.56mm Fire", "DPI Loop",
            "Middle Key", "Adjust XY Fn", "Key Off", "Key Off", "Key Off", "Key Off"},
      kProfile3Lighting},
     {"Key Off", "Game Mode", "Key Off", "Key Off", "Key Off", "Key Off", "Key Off", "Key Off",
      "Key Off"}},
};

class KeyCaptionDefaultImagesTest : public FormDeviceTest,
                                    public ::testing::WithParamInterface<ImageNames> {
protected:
    // The fire keys as the whole-form refresh takes them from the identity block: count
    // index + 1 shots, and the 16-bit interval.
    void FireKeysFromIdentity() {
        for (int n = 0; n < 3; ++n) {
            const int b =
                device::image::IdentityFireKey1 + device::image::IdentityFireKeyStride * n;
            form->FireKeyShots[n] = form->IdentityCopy[b] + 1;
            form->FireKeyInterval[n] = form->IdentityCopy[b + 1] * 256 + form->IdentityCopy[b + 2];
        }
    }
    std::string Caption(const std::string& name) {
        return form->Named<platform::vcl::TControl>(name).Caption();
    }
};

TEST_P(KeyCaptionDefaultImagesTest, EveryKeyOfTheImageReadsAsItsFunction) {
    const ImageNames& expected = GetParam();
    form->FireScriptsLoaded = 0; // no script file: the fire presets name the fire macros
    AddMouse(DefaultImage(expected.image));
    Tick();
    ASSERT_EQ(form->DetectedInterface, "I2C");
    FireKeysFromIdentity();

    form->FireHoldSyncGuard = 1; // as the engineering page's entry fills it
    form->TLRefreshProfile1Keys();
    form->TLRefreshProfile2Keys();
    form->TLRefreshProfile3Keys();
    form->FireHoldSyncGuard = 0;
    form->RefreshComboKeyCaptions();
    for (int p = 1; p <= 3; ++p)
        for (int k = 1; k <= ProfileKeyCount; ++k)
            EXPECT_EQ(Caption(window::device::ProfileKeyButtonName(p, k)),
                      expected.profiles[p - 1][k - 1])
                << "image " << expected.image << " profile " << p << " key " << k;
    for (int n = 1; n <= 9; ++n)
        EXPECT_EQ(Caption(window::device::ComboKeyButtonName(n)), expected.combos[n - 1])
            << "image " << expected.image << " combination key " << n;

    // The user page shows one profile at a time on the same labels.
    void (window::TForm1::*refresh[3])(platform::vcl::TObject*) = {
        &window::TForm1::RefreshProfile1Keys, &window::TForm1::RefreshProfile2Keys,
        &window::TForm1::RefreshProfile3Keys};
    for (int p = 1; p <= 3; ++p) {
        (form.get()->*refresh[p - 1])(nullptr);
        for (int k = 1; k <= ProfileKeyCount; ++k)
            EXPECT_EQ(Caption("Key" + std::to_string(k)), expected.profiles[p - 1][k - 1])
                << "image " << expected.image << " profile " << p << " key " << k;
    }

    // Both caches hold the 36 names in key order.
    form->RefreshKeyNameCache();
    const auto fromCodes = form->KeyNameCache;
    window::device::CacheKeyNamesFromButtons(*form);
    EXPECT_EQ(form->KeyNameCache, fromCodes);
    for (int i = 0; i < 36; ++i)
        EXPECT_EQ(fromCodes[i], expected.profiles[i / 12][i % 12]) << i;
}

INSTANTIATE_TEST_SUITE_P(DefaultImages, KeyCaptionDefaultImagesTest, ::testing::ValuesIn(kImages),
                         [](const auto& info) {
                             return "Image" + std::to_string(info.param.image);
                         });

class KeyCaptionEffectsTest : public KeyCaptionDefaultImagesTest {};

TEST_F(KeyCaptionEffectsTest, NamingTheKeysSetsTheHoldBoxesAndProfileColours) {
    AddMouse(DefaultImage(1));
    Tick();
    FireKeysFromIdentity();
    auto& hold1 = form->Named<controls::skin::TSkinCheckBox>("cb_Fire1Continue");
    auto& hold3 = form->Named<controls::skin::TSkinCheckBox>("cb_Fire3Continue");
    // Set as the program sets them, so that their handling writes nothing.
    form->FireHoldSyncGuard = 1;
    hold1.SetChecked(false);
    hold3.SetChecked(true);
    form->FireHoldSyncGuard = 0;
    form->cb_Profile2Color->SetItemIndex(0);

    // Profile 2 key 3 is fire key 1 held (0692003C), profile 3 key 3 fire key 3 not held
    // (0617003C); combination key 4 switches to profile 2 in the specified colour.
    form->TLRefreshProfile2Keys();
    EXPECT_TRUE(hold1.Checked());
    form->TLRefreshProfile3Keys();
    EXPECT_FALSE(hold3.Checked());
    form->RefreshComboKeyCaptions();
    EXPECT_EQ(form->cb_Profile2Color->ItemIndex(), 10);
}

TEST_F(KeyCaptionEffectsTest, ALostMouseLeavesProfile1OfTheFirstDefaultImageOnTheLabels) {
    auto mouse = AddMouse(DefaultImage(3));
    Tick();
    FireKeysFromIdentity();
    form->RefreshProfile2Keys();
    EXPECT_EQ(Caption("Key1"), "Fire Macro Key");

    mouse->Unplug();
    Tick();
    ASSERT_EQ(modal->texts.size(), 1u); // the loss is reported
    ASSERT_FALSE(Present());
    for (int k = 1; k <= ProfileKeyCount; ++k)
        EXPECT_EQ(Caption("Key" + std::to_string(k)), kProfile1Media[k - 1]) << k;
}

} // namespace
} // namespace devtest
