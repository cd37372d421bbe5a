#pragma once
// Colours and fonts in the library's terms, and their Qt equivalents.
#include "platform/vcl/Component.h"

#include <cstdint>
#include <functional>
#include <string>

class QColor;
class QFont;

namespace platform::vcl {

// Red in the low byte: 0x00BBGGRR. Values with the top bit set are system colours.
using TColor = uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clWindow = 0x80000005;
constexpr TColor clWindowText = 0x80000008;
constexpr TColor clHighlight = 0x8000000D;
constexpr TColor clBtnFace = 0x8000000F;
constexpr TColor clGrayText = 0x80000011;
constexpr TColor clBtnText = 0x80000012;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor RGB(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<TColor>(r) | (static_cast<TColor>(g) << 8) | (static_cast<TColor>(b) << 16);
}
// System colours resolved to plain red, green and blue.
TColor ColorToRGB(TColor color);
QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);
// A colour name (clMaroon, clBtnFace) to its value; false when the name is unknown.
bool IdentToColor(const std::string& ident, TColor& color);
// A colour property of the form design: a colour name or a number.
TColor DesignColor(const TDesignValue& value);

// The faces the designs and the language tables name are Windows faces. Each is drawn
// with an installed free face of matching build: Calibri with its metric twin Carlito,
// Microsoft JhengHei with Noto Sans CJK TC, MS Sans Serif with DejaVu Sans.
struct FontSubstitute {
    const char* face;
    const char* installed;
};
extern const FontSubstitute FontSubstitutes[3];
// Makes Qt draw each named face with its substitute; runs once, with the application
// object in place. Every font a control takes passes through it.
void InstallFontSubstitutes();

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

// A control's font. Every change calls OnChange so the owning control can apply it.
class TFont {
public:
    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);
    // Size in points at 96 pixels per inch, as the library's designs measure fonts.
    int Size() const { return size_; }
    void SetSize(int size);
    // Negative height is the character height in pixels: Size = -Height * 72 / 96.
    int Height() const;
    void SetHeight(int height);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    void Assign(const TFont& other);

    QFont ToQFont() const;
    // Applies Font.Name, Font.Size, Font.Height, Font.Color or Font.Style (without the
    // "Font." prefix); false for any other name.
    bool SetDesignProperty(const std::string& name, const TDesignValue& value);

    std::function<void()> OnChange;

private:
    void Changed();

    std::string name_ = "MS Sans Serif";
    int size_ = 8;
    TColor color_ = clWindowText;
    TFontStyles style_ = 0;
};

} // namespace platform::vcl
