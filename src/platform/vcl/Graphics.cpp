#include "platform/vcl/Graphics.h"

#include "platform/rtl/SysUtils.h"

#include <QColor>
#include <QFont>
#include <cmath>
#include <utility>

namespace platform::vcl {

namespace {
const std::pair<const char*, TColor> kColorNames[] = {
    {"clBlack", clBlack},         {"clMaroon", clMaroon},
    {"clGreen", clGreen},         {"clOlive", clOlive},
    {"clNavy", clNavy},           {"clPurple", clPurple},
    {"clTeal", clTeal},           {"clGray", clGray},
    {"clSilver", clSilver},       {"clRed", clRed},
    {"clLime", clLime},           {"clYellow", clYellow},
    {"clBlue", clBlue},           {"clFuchsia", clFuchsia},
    {"clAqua", clAqua},           {"clWhite", clWhite},
    {"clWindow", clWindow},       {"clWindowText", clWindowText},
    {"clHighlight", clHighlight}, {"clBtnFace", clBtnFace},
    {"clGrayText", clGrayText},   {"clBtnText", clBtnText},
    {"clNone", clNone},           {"clDefault", clDefault},
};
} // namespace

TColor ColorToRGB(TColor color) {
    switch (color) {
    case clWindow:
        return clWhite;
    case clWindowText:
    case clBtnText:
        return clBlack;
    case clHighlight:
        return RGB(0, 120, 215);
    case clBtnFace:
        return RGB(240, 240, 240);
    case clGrayText:
        return RGB(109, 109, 109);
    case clNone:
    case clDefault:
        return clWhite;
    default:
        return color & 0xFFFFFF;
    }
}

QColor ToQColor(TColor color) {
    const TColor c = ColorToRGB(color);
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

TColor FromQColor(const QColor& color) {
    return RGB(static_cast<uint8_t>(color.red()), static_cast<uint8_t>(color.green()),
               static_cast<uint8_t>(color.blue()));
}

bool IdentToColor(const std::string& ident, TColor& color) {
    for (const auto& [name, value] : kColorNames) {
        if (rtl::SameText(ident, name)) {
            color = value;
            return true;
        }
    }
    return false;
}

TColor DesignColor(const TDesignValue& value) {
    if (value.kind == TDesignValue::Kind::Integer) return static_cast<TColor>(value.number);
    TColor color = 0;
    if (!IdentToColor(value.AsIdent(), color)) throw rtl::Exception("unknown colour " + value.text);
    return color;
}

void TFont::SetName(const std::string& name) {
    if (name == name_) return;
    name_ = name;
    Changed();
}

void TFont::SetSize(int size) {
    if (size == size_) return;
    size_ = size;
    Changed();
}

int TFont::Height() const {
    return -static_cast<int>(std::lround(size_ * 96.0 / 72.0));
}

void TFont::SetHeight(int height) {
    SetSize(static_cast<int>(std::lround(-height * 72.0 / 96.0)));
}

void TFont::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    Changed();
}

void TFont::SetStyle(TFontStyles style) {
    if (style == style_) return;
    style_ = style;
    Changed();
}

void TFont::Assign(const TFont& other) {
    name_ = other.name_;
    size_ = other.size_;
    color_ = other.color_;
    style_ = other.style_;
    Changed();
}

const FontSubstitute FontSubstitutes[3] = {
    {"Calibri", "Carlito"},
    {"Microsoft JhengHei", "Noto Sans CJK TC"},
    {"MS Sans Serif", "DejaVu Sans"},
};

void InstallFontSubstitutes() {
    static const bool installed = [] {
        for (const FontSubstitute& s : FontSubstitutes)
            QFont::insertSubstitution(QString::fromLatin1(s.face),
                                      QString::fromLatin1(s.installed));
        return true;
    }();
    (void)installed;
}

QFont TFont::ToQFont() const {
    InstallFontSubstitutes();
    QFont font(QString::fromStdString(name_));
    // Pixel sizes keep the designs' positions independent of the screen's DPI setting.
    font.setPixelSize(std::max(1, -Height()));
    font.setBold(style_ & fsBold);
    font.setItalic(style_ & fsItalic);
    font.setUnderline(style_ & fsUnderline);
    font.setStrikeOut(style_ & fsStrikeOut);
    return font;
}

bool TFont::SetDesignProperty(const std::string& name, const TDesignValue& value) {
    if (name == "Name")
        SetName(value.AsString());
    else if (name == "Size")
        SetSize(value.AsInt());
    else if (name == "Height")
        SetHeight(value.AsInt());
    else if (name == "Color")
        SetColor(DesignColor(value));
    else if (name == "Style") {
        TFontStyles style = 0;
        for (const std::string& s : value.AsSet()) {
            if (rtl::SameText(s, "fsBold"))
                style |= fsBold;
            else if (rtl::SameText(s, "fsItalic"))
                style |= fsItalic;
            else if (rtl::SameText(s, "fsUnderline"))
                style |= fsUnderline;
            else if (rtl::SameText(s, "fsStrikeOut"))
                style |= fsStrikeOut;
            else
                throw rtl::Exception("unknown font style " + s);
        }
        SetStyle(style);
    } else
        return false;
    return true;
}

void TFont::Changed() {
    if (OnChange) OnChange();
}

} // namespace platform::vcl
