// The [org] settings text: every key, flags only on 1, clamps, and loading that stops at
// the first integer key that does not convert.
#include "ShellTestSupport.h"

#include "platform/rtl/SysUtils.h"
#include "window/shell/LayoutText.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <regex>

using namespace platform::rtl;
using namespace platform::vcl;
using shell_test::ResourceOverride;
using shell_test::StartedForm;

namespace {

std::string OrgText(const std::string& changes = "", const std::string& drop = "") {
    std::string text = "; general settings\r\n[org]\r\nWeb_Enable=1\r\n"
                       "Web=https://example.org/help\r\nWeb_X = 40\r\nWeb_Y=7 \r\n"
                       "Rev_Manu_ID=18\r\nRev_Pro_ID=52\r\nPath=\r\nTR_Enable=1\r\nGD_Enable=0\r\n"
                       "DPILED_Status=1\r\nGun6_Num=2\r\nGun7_Num=3\r\nNum_Order=0\r\n";
    if (!drop.empty()) text = std::regex_replace(text, std::regex(drop + "=[^\r]*\r\n"), "");
    return text + changes;
}

// Values that come first in the text win, so a change is put before the rest.
std::string WithFirst(const std::string& line) {
    return "[org]\r\n" + line + "\r\n" + OrgText().substr(OrgText().find("[org]") + 7);
}

TEST(OrgSettingsTest, ShippedTextHasEveryKeyAndANeutralSupportAddress) {
    const TMemIniFile ini = window::shell::LoadLayoutText("org");
    for (const char* key :
         {"Web_Enable", "Web", "Web_X", "Web_Y", "Rev_Manu_ID", "Rev_Pro_ID", "Path", "TR_Enable",
          "GD_Enable", "DPILED_Status", "Gun6_Num", "Gun7_Num", "Num_Order"})
        EXPECT_TRUE(ini.ValueExists("ORG", key)) << key;
    EXPECT_EQ(ini.ReadString("org", "Web", "").rfind("https://example.org/", 0), 0u);
    auto form = StartedForm();
    EXPECT_FALSE(form->WebLinkEnabled);
    EXPECT_TRUE(form->GunDisplayEnabled);
    EXPECT_TRUE(form->DpiLedStatus);
    EXPECT_EQ(form->Gun6Number, 2);
    EXPECT_EQ(form->Gun7Number, 3);
    EXPECT_TRUE(form->MacroLibraryFolder.empty());
}

TEST(OrgSettingsTest, ValuesReachTheirFieldsAndTheWebButtons) {
    auto form = StartedForm();
    ResourceOverride org("ORG", OrgText());
    form->LoadOrgSettings();
    EXPECT_TRUE(form->WebLinkEnabled);
    EXPECT_EQ(form->WebLink, "https://example.org/help");
    EXPECT_EQ(form->ReserveManufacturerId, 18);
    EXPECT_EQ(form->ReserveProductId, 52);
    EXPECT_TRUE(form->TextRollingEnabled);
    EXPECT_FALSE(form->GunDisplayEnabled);
    for (int i = 1; i <= 5; ++i) {
        auto& image = form->Named<TImage>("Img_Web_" + std::to_string(i));
        auto& label = form->Named<TControl>("Btn_Web_" + std::to_string(i));
        EXPECT_EQ(image.Left(), 40) << "blanks around '=' are read as usual";
        EXPECT_EQ(image.Top(), 7) << "a trailing blank is dropped";
        EXPECT_EQ(label.Left(), 40);
        EXPECT_EQ(label.Top(), 7);
        EXPECT_EQ(label.Width(), image.Width());
        EXPECT_EQ(label.Height(), image.Height());
    }
}

TEST(OrgSettingsTest, FlagsAreOnOnlyForOne) {
    auto form = StartedForm();
    for (const char* value : {"2", "-1", "0"}) {
        ResourceOverride org("ORG", WithFirst(std::string("Web_Enable=") + value));
        form->WebLinkEnabled = true;
        form->LoadOrgSettings();
        EXPECT_FALSE(form->WebLinkEnabled) << value;
    }
    ResourceOverride org("ORG", WithFirst("TR_Enable=2"));
    form->LoadOrgSettings();
    EXPECT_FALSE(form->TextRollingEnabled);
}

TEST(OrgSettingsTest, PresetVariantsAndNumberOrderAreClamped) {
    auto form = StartedForm();
    struct Case {
        const char* line;
        int window::TForm1::*field;
        int expected;
    } cases[] = {{"Gun6_Num=0", &window::TForm1::Gun6Number, 1},
                 {"Gun6_Num=5", &window::TForm1::Gun6Number, 2},
                 {"Gun7_Num=-4", &window::TForm1::Gun7Number, 1},
                 {"Gun7_Num=9", &window::TForm1::Gun7Number, 3},
                 {"Num_Order=7", &window::TForm1::NumberOrder, 1},
                 {"Num_Order=-1", &window::TForm1::NumberOrder, 0}};
    for (const Case& c : cases) {
        ResourceOverride org("ORG", WithFirst(c.line));
        form->LoadOrgSettings();
        EXPECT_EQ((*form).*c.field, c.expected) << c.line;
    }
}

TEST(OrgSettingsTest, MacroFolderGetsItsClosingDelimiter) {
    auto form = StartedForm();
    {
        ResourceOverride org("ORG", WithFirst("Path=/srv/macros/"));
        form->LoadOrgSettings();
        EXPECT_EQ(form->MacroLibraryFolder, "/srv/macros/");
    }
    {
        // Without the delimiter the file name would be glued onto the folder's name.
        ResourceOverride org("ORG", WithFirst("Path=/srv/macros"));
        form->LoadOrgSettings();
        EXPECT_EQ(form->MacroLibraryFolder, "/srv/macros/");
    }
    ResourceOverride org("ORG", OrgText());
    form->LoadOrgSettings();
    EXPECT_TRUE(form->MacroLibraryFolder.empty()) << "empty: the program folder";
}

TEST(OrgSettingsTest, AMissingIntegerKeyStopsLoadingAtThatKey) {
    auto form = StartedForm();
    form->Gun6Number = 0;
    form->Gun7Number = 0;
    form->NumberOrder = 5;
    form->TextRollingEnabled = false;
    ResourceOverride org("ORG", OrgText("", "DPILED_Status"));
    try {
        form->LoadOrgSettings();
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'' is not a valid integer value");
    }
    EXPECT_TRUE(form->TextRollingEnabled) << "read before the missing key";
    EXPECT_EQ(form->Gun6Number, 0);
    EXPECT_EQ(form->Gun7Number, 0);
    EXPECT_EQ(form->NumberOrder, 5);
}

TEST(OrgSettingsTest, ACommentedOutKeyIsMissingAndANonNumberFailsAlike) {
    auto form = StartedForm();
    {
        ResourceOverride org("ORG", std::regex_replace(OrgText(), std::regex("Web_X"), ";Web_X"));
        EXPECT_THROW(form->LoadOrgSettings(), EConvertError);
    }
    ResourceOverride org("ORG", WithFirst("Rev_Pro_ID=twelve"));
    try {
        form->LoadOrgSettings();
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'twelve' is not a valid integer value");
    }
}

TEST(OrgSettingsTest, AStartUpThatFailsShowsTheErrorAndSkipsTheRemainingSteps) {
    ResourceOverride org("ORG", OrgText("", "Gun7_Num"));
    shell_test::FormPtr form(new window::TForm1(nullptr));
    QString shown = "none";
    std::function<void()> closeBox = [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->accept();
        } else {
            QTimer::singleShot(10, closeBox);
        }
    };
    QTimer::singleShot(0, closeBox);
    EXPECT_FALSE(form->DoCreate());
    EXPECT_EQ(shown, "'' is not a valid integer value");
    // Later steps did not run: the key page was not made the only visible page.
    EXPECT_NE(form->Named<TEdit>("Edt_Repeat1").Alignment(), taRightJustify);
}

} // namespace
