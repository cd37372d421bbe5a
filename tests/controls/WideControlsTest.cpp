// The wide-text controls: UTF-16 captions and items, the list index error, and labels
// that take the mouse over the pictures they caption.
#include "controls/unicode/WideCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/rtl/SysUtils.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace controls::skin;
using namespace controls::unicode;

namespace {
const std::u16string kChinese = u"\u9f20\u6807\u8bbe\u7f6e"; // mouse settings
const std::u16string kWithPair = u"DPI \U0001F5B1 \u00e9";   // a pointer glyph, é
} // namespace

TEST(WideLabelTest, CaptionRoundTripsNonLatinText) {
    TWideLabel label(nullptr);
    for (const std::u16string& text : {kChinese, kWithPair, std::u16string()}) {
        TWideLabel::SetCaption(&label, text);
        EXPECT_EQ(TWideLabel::GetCaption(&label), text);
        EXPECT_EQ(label.Caption(), platform::rtl::Utf16ToUtf8(text));
        EXPECT_EQ(static_cast<QLabel*>(label.Widget())->text(), QString::fromStdU16String(text));
    }
    // The surrogate pair stays two code units, not two replacement characters.
    TWideLabel::SetCaption(&label, kWithPair);
    EXPECT_EQ(static_cast<QLabel*>(label.Widget())->text().size(), 8);
}

TEST(WideLabelTest, NarrowCaptionIsConvertedAndDamagedTextReadsBackAsGiven) {
    TWideLabel label(nullptr);
    label.SetCaption("Gr\xc3\xb6\xc3\x9f"
                     "e \xe9\xbc\xa0");
    EXPECT_EQ(label.WideCaption(), u"Gr\u00f6\u00dfe \u9f20");
    const std::u16string lone{u'a', char16_t(0xD800), u'b'};
    label.SetWideCaption(lone);
    EXPECT_EQ(TWideLabel::GetCaption(&label), lone);
}

TEST(WideLabelTest, AutoSizedLabelGrowsWithItsWideCaption) {
    TWideLabel label(nullptr);
    TWideLabel::SetCaption(&label, u"\u9f20");
    const int narrow = label.Width();
    TWideLabel::SetCaption(&label, kChinese + kChinese);
    EXPECT_GT(label.Width(), narrow);
}

TEST(WideLabelTest, TransparentLabelOverAPictureTakesTheClick) {
    platform::vcl::TForm form(nullptr);
    form.SetBounds(0, 0, 200, 100);
    platform::vcl::TImage image(nullptr);
    image.SetParent(&form);
    QImage picture(120, 40, QImage::Format_ARGB32);
    picture.fill(Qt::darkCyan);
    image.SetBounds(10, 10, 120, 40);
    image.SetPicture(picture, "");
    TWideLabel label(nullptr);
    label.SetParent(&form);
    label.SetTransparent(true);
    label.SetAutoSize(false);
    label.SetBounds(10, 10, 120, 40);
    TWideLabel::SetCaption(&label, kChinese);
    int labelClicks = 0, imageClicks = 0;
    label.OnClick = [&](platform::vcl::TObject*) { ++labelClicks; };
    image.OnClick = [&](platform::vcl::TObject*) { ++imageClicks; };
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));

    QWidget* hit = form.ClientWidget()->childAt(QPoint(60, 30));
    ASSERT_EQ(hit, label.Widget());
    QTest::mouseClick(hit, Qt::LeftButton, {}, QPoint(50, 20));
    EXPECT_EQ(labelClicks, 1);
    EXPECT_EQ(imageClicks, 0);
    label.SetParent(nullptr);
    image.SetParent(nullptr);
}

TEST(WideComboBoxTest, ItemWriteReplacesAnExistingItemOnly) {
    TWideComboBox combo(nullptr);
    TWideStrings& items = TWideComboBox::GetItems(&combo);
    items.Add(u"English");
    items.Add(u"Deutsch");
    items.Add(u"x");
    combo.SetItemIndex(2);
    items.Put(2, kChinese);
    EXPECT_EQ(items.Count(), 3);
    EXPECT_EQ(items[2], kChinese);
    EXPECT_EQ(combo.Text(), platform::rtl::Utf16ToUtf8(kChinese));
    EXPECT_EQ(combo.ItemIndex(), 2);

    for (int bad : {3, 4, -1}) {
        try {
            items.Put(bad, u"extra");
            ADD_FAILURE() << "item " << bad << " was written";
        } catch (const platform::rtl::EStringListError& e) {
            EXPECT_EQ(std::string(e.what()),
                      platform::rtl::Format("List index out of bounds (%d)", bad));
        }
    }
    EXPECT_EQ(items.Count(), 3);
    EXPECT_EQ(items[0], u"English");
}

TEST(WideListBoxTest, ItemsAreClearedAndAddedAsWideTexts) {
    TWideListBox list(nullptr);
    list.Items().Add("old");
    list.SetItemIndex(0);
    list.WideItems().Clear();
    EXPECT_EQ(list.WideItems().Count(), 0);
    EXPECT_EQ(list.ItemIndex(), -1);
    EXPECT_EQ(list.WideItems().Add(kChinese), 0);
    EXPECT_EQ(list.WideItems().Add(kWithPair), 1);
    auto* w = static_cast<QListWidget*>(list.Widget());
    ASSERT_EQ(w->count(), 2);
    EXPECT_EQ(w->item(0)->text(), QString::fromStdU16String(kChinese));
    EXPECT_EQ(list.WideItems()[1], kWithPair);
    EXPECT_THROW(list.WideItems()[2], platform::rtl::EStringListError);
}
