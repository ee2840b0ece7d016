// ColorValue: one colour (a COLORREF: red in bits 0-7, green 8-15, blue 16-23) with channel
// arithmetic that clamps each channel to 0..255, blending by percent, and conversion to and from
// hue, saturation and luminance or value. The toolkit derives its drawing colours from the
// system's with it, and the colour dialog's custom page converts with it.
#pragma once
#include <windows.h>

// The per-channel step of HSL to RGB (m1, m2 from the luminance and saturation); 0.0..1.0.
double HueToRGB(double m1, double m2, double h);

class ColorValue {
 public:
  constexpr ColorValue() = default;
  constexpr ColorValue(COLORREF color) : m_color(color) {}  // NOLINT: a colour is a COLORREF
  constexpr operator COLORREF() const { return m_color; }   // NOLINT

  int GetRed() const { return static_cast<int>(m_color & 0xFF); }
  int GetGreen() const { return static_cast<int>((m_color >> 8) & 0xFF); }
  int GetBlue() const { return static_cast<int>((m_color >> 16) & 0xFF); }
  // The perceived brightness, 0.0 (black) to 255.0 (white).
  double GetGreyLevel() const {
    return (GetRed() * 299 + GetGreen() * 587 + GetBlue() * 114) / 1000.0;
  }

  // Stores the three channels masked to 8 bits (no clamping).
  ColorValue& SetRGB(int red, int green, int blue);
  static int Clamp(int value) { return value > 255 ? 255 : (value < 0 ? 0 : value); }
  static COLORREF FromClampedRGB(int red, int green, int blue);

  // Moves the colour towards another: percent is the other colour's weight (0 keeps this one,
  // 100 gives the other); values outside 0..100 are allowed, the clamp bounds the result.
  ColorValue& Blend(ColorValue other, int percent);

  void GetHSL(double& hue, double& saturation, double& luminance) const;
  void SetHSL(double hue, double saturation, double luminance);
  static ColorValue FromHSL(double hue, double saturation, double luminance);
  void GetHSV(double& hue, double& saturation, double& value) const;
  void SetHSV(double hue, double saturation, double value);
  static ColorValue FromHSV(double hue, double saturation, double value);

  // Channel arithmetic with another colour, or with a grey level (an int, clamped to 0..255 and
  // put into all three channels). Each resulting channel is clamped to 0..255. A divisor channel
  // of 0 gives 255 rather than a fault.
  ColorValue& operator+=(ColorValue other);
  ColorValue& operator-=(ColorValue other);
  ColorValue& operator*=(ColorValue other);
  ColorValue& operator/=(ColorValue other);
  ColorValue& operator+=(int grey) { return *this += GreyColor(grey); }
  ColorValue& operator-=(int grey) { return *this -= GreyColor(grey); }
  ColorValue& operator*=(int grey) { return *this *= GreyColor(grey); }
  ColorValue& operator/=(int grey) { return *this /= GreyColor(grey); }
  ColorValue operator+(ColorValue other) const { return ColorValue(*this) += other; }
  ColorValue operator-(ColorValue other) const { return ColorValue(*this) -= other; }
  ColorValue operator*(ColorValue other) const { return ColorValue(*this) *= other; }
  ColorValue operator/(ColorValue other) const { return ColorValue(*this) /= other; }
  ColorValue operator+(int grey) const { return ColorValue(*this) += grey; }
  ColorValue operator-(int grey) const { return ColorValue(*this) -= grey; }
  ColorValue operator*(int grey) const { return ColorValue(*this) *= grey; }
  ColorValue operator/(int grey) const { return ColorValue(*this) /= grey; }
  // A COLORREF would otherwise be taken for a grey level: say ColorValue(colour) instead.
  ColorValue& operator+=(COLORREF) = delete;
  ColorValue& operator-=(COLORREF) = delete;
  ColorValue& operator*=(COLORREF) = delete;
  ColorValue& operator/=(COLORREF) = delete;
  ColorValue operator+(COLORREF) const = delete;
  ColorValue operator-(COLORREF) const = delete;
  ColorValue operator*(COLORREF) const = delete;
  ColorValue operator/(COLORREF) const = delete;

  static const ColorValue Black;
  static const ColorValue White;
  static const ColorValue DarkGrey;
  static const ColorValue Grey;
  static const ColorValue LightGrey;

 private:
  static ColorValue GreyColor(int grey);
  template <class Op>
  ColorValue& Combine(ColorValue other, Op op);

  COLORREF m_color = 0;
};
