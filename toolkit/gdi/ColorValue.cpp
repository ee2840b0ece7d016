#include "toolkit/gdi/ColorValue.h"

#include <cmath>

// Constant-initialised: ready before any constructor of the program's own runs.
constinit const ColorValue ColorValue::Black(RGB(0, 0, 0));
constinit const ColorValue ColorValue::White(RGB(255, 255, 255));
constinit const ColorValue ColorValue::DarkGrey(RGB(64, 64, 64));
constinit const ColorValue ColorValue::Grey(RGB(128, 128, 128));
constinit const ColorValue ColorValue::LightGrey(RGB(192, 192, 192));

ColorValue& ColorValue::SetRGB(int red, int green, int blue) {
  m_color = static_cast<COLORREF>((red & 255) | (green & 255) << 8 | (blue & 255) << 16);
  return *this;
}

COLORREF ColorValue::FromClampedRGB(int red, int green, int blue) {
  return ColorValue().SetRGB(Clamp(red), Clamp(green), Clamp(blue));
}

ColorValue ColorValue::GreyColor(int grey) {
  int n = Clamp(grey);
  return ColorValue(static_cast<COLORREF>(n | n << 8 | n << 16));
}

template <class Op>
ColorValue& ColorValue::Combine(ColorValue other, Op op) {
  return SetRGB(Clamp(op(GetRed(), other.GetRed())), Clamp(op(GetGreen(), other.GetGreen())),
                Clamp(op(GetBlue(), other.GetBlue())));
}

ColorValue& ColorValue::Blend(ColorValue other, int percent) {
  // Integer division truncating toward zero, as the derived toolkit colours expect.
  return Combine(other, [percent](int own, int theirs) {
    return (theirs * percent + own * (100 - percent)) / 100;
  });
}

ColorValue& ColorValue::operator+=(ColorValue other) {
  return Combine(other, [](int a, int b) { return a + b; });
}

ColorValue& ColorValue::operator-=(ColorValue other) {
  return Combine(other, [](int a, int b) { return a - b; });
}

ColorValue& ColorValue::operator*=(ColorValue other) {
  return Combine(other, [](int a, int b) { return a * b; });
}

ColorValue& ColorValue::operator/=(ColorValue other) {
  // Dividing by nothing has no sound answer; the top of the range keeps the program running.
  return Combine(other, [](int a, int b) { return b == 0 ? 255 : a / b; });
}

void ColorValue::GetHSL(double& hue, double& saturation, double& luminance) const {
  double r = GetRed() / 255.0, g = GetGreen() / 255.0, b = GetBlue() / 255.0;
  double max = r > g ? (r > b ? r : b) : (g > b ? g : b);
  double min = r < g ? (r < b ? r : b) : (g < b ? g : b);
  luminance = (max + min) / 2;
  if (max == min) {
    hue = 0;
    saturation = 0;
    return;
  }
  double delta = max - min;
  saturation = luminance < 0.5 ? delta / (max + min) : delta / (2.0 - max - min);
  // Tested in this order: a tie of red with another channel takes red's formula.
  if (r == max) {
    hue = (g - b) / delta;
  } else if (g == max) {
    hue = 2.0 + (b - r) / delta;
  } else {
    hue = 4.0 + (r - g) / delta;
  }
  hue /= 6.0;
  if (hue < 0) hue += 1.0;
}

double HueToRGB(double m1, double m2, double h) {
  if (h < 0) h += 1.0;
  if (h > 1.0) h -= 1.0;
  if (6.0 * h < 1) return m1 + (m2 - m1) * h * 6.0;
  if (2.0 * h < 1) return m2;
  if (3.0 * h < 2) return m1 + (m2 - m1) * (2.0 / 3.0 - h) * 6.0;
  return m1;
}

void ColorValue::SetHSL(double hue, double saturation, double luminance) {
  double r, g, b;
  if (saturation == 0) {
    r = g = b = luminance;
  } else {
    double m2 = luminance < 0.5 ? luminance * (1.0 + saturation)
                                : luminance + saturation - luminance * saturation;
    double m1 = 2.0 * luminance - m2;
    r = HueToRGB(m1, m2, hue + 1.0 / 3.0);
    g = HueToRGB(m1, m2, hue);
    b = HueToRGB(m1, m2, hue - 1.0 / 3.0);
  }
  // Truncated, not rounded: a round trip may lose one step per channel.
  SetRGB(static_cast<int>(r * 255.0), static_cast<int>(g * 255.0), static_cast<int>(b * 255.0));
}

ColorValue ColorValue::FromHSL(double hue, double saturation, double luminance) {
  ColorValue color;
  color.SetHSL(hue, saturation, luminance);
  return color;
}

void ColorValue::GetHSV(double& hue, double& saturation, double& value) const {
  int red = GetRed(), green = GetGreen(), blue = GetBlue();
  int max = red > green ? (red > blue ? red : blue) : (green > blue ? green : blue);
  int min = red < green ? (red < blue ? red : blue) : (green < blue ? green : blue);
  value = max / 255.0;
  saturation = max == 0 ? 0.0 : static_cast<double>(max - min) / max;
  if (saturation == 0) {
    hue = 0;
    return;
  }
  double delta = max - min;
  double rc = (max - red) / delta, gc = (max - green) / delta, bc = (max - blue) / delta;
  if (red == max) {
    hue = bc - gc;
  } else if (green == max) {
    hue = 2.0 + rc - bc;
  } else {
    hue = 4.0 + gc - rc;
  }
  hue /= 6.0;
  if (hue < 0) hue += 1.0;
}

void ColorValue::SetHSV(double hue, double saturation, double value) {
  auto byte = [](double x) { return static_cast<int>(x * 255.0 + 0.5); };
  if (saturation == 0) {
    SetRGB(byte(value), byte(value), byte(value));
    return;
  }
  double h6 = (hue - std::floor(hue)) * 6;
  int i = static_cast<int>(h6);
  double f = h6 - std::floor(h6);
  double p = value * (1 - saturation);
  double q = value * (1 - saturation * f);
  double t = value * (1 - saturation * (1 - f));
  switch (i) {
    case 0: SetRGB(byte(value), byte(t), byte(p)); break;
    case 1: SetRGB(byte(q), byte(value), byte(p)); break;
    case 2: SetRGB(byte(p), byte(value), byte(t)); break;
    case 3: SetRGB(byte(p), byte(q), byte(value)); break;
    case 4: SetRGB(byte(t), byte(p), byte(value)); break;
    default: SetRGB(byte(value), byte(p), byte(q)); break;
  }
}

ColorValue ColorValue::FromHSV(double hue, double saturation, double value) {
  ColorValue color;
  color.SetHSV(hue, saturation, value);
  return color;
}
