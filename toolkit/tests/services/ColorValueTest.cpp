// Colour arithmetic: clamped channel operations, blending by percent, and the HSL and HSV
// conversions with their truncation and rounding, as tables of colours.
#include <gtest/gtest.h>

#include <cmath>

#include "toolkit/gdi/ColorValue.h"

namespace {

struct Rgb {
  int r, g, b;
};

Rgb Channels(ColorValue c) { return {c.GetRed(), c.GetGreen(), c.GetBlue()}; }

ColorValue Make(Rgb c) { return ColorValue(RGB(c.r, c.g, c.b)); }

#define EXPECT_RGB(actual, expected, why)                              \
  do {                                                                 \
    Rgb a_ = Channels(actual), e_ = (expected);                        \
    EXPECT_EQ(a_.r, e_.r) << why;                                      \
    EXPECT_EQ(a_.g, e_.g) << why;                                      \
    EXPECT_EQ(a_.b, e_.b) << why;                                      \
  } while (0)

}  // namespace

TEST(ColorValueTest, ChannelsSitInTheColourReferenceLayout) {
  ColorValue c(RGB(1, 2, 3));
  EXPECT_EQ(static_cast<COLORREF>(c), 0x030201u);
  EXPECT_RGB(c, (Rgb{1, 2, 3}), "accessors");
  // SetRGB masks, it does not clamp; FromClampedRGB clamps.
  EXPECT_EQ(static_cast<COLORREF>(ColorValue().SetRGB(256 + 7, -1, 300)), RGB(7, 255, 44));
  EXPECT_EQ(ColorValue::FromClampedRGB(300, -5, 128), RGB(255, 0, 128));
  EXPECT_DOUBLE_EQ(ColorValue(RGB(100, 200, 50)).GetGreyLevel(),
                   (100 * 299 + 200 * 587 + 50 * 114) / 1000.0);
  EXPECT_EQ(static_cast<COLORREF>(ColorValue::DarkGrey), RGB(64, 64, 64));
  EXPECT_EQ(static_cast<COLORREF>(ColorValue::LightGrey), RGB(192, 192, 192));
  EXPECT_EQ(static_cast<COLORREF>(ColorValue::White), RGB(255, 255, 255));
}

TEST(ColorValueTest, BlendWeighsTheOtherColourByPercentAndTruncates) {
  struct Case {
    Rgb own, other;
    int percent;
    Rgb expected;
    const char* why;
  };
  const Case cases[] = {
      {{200, 100, 0}, {0, 0, 0}, 33, {134, 67, 0}, "200*67/100 = 134, truncated"},
      {{10, 20, 30}, {200, 210, 220}, 0, {10, 20, 30}, "0 keeps the colour"},
      {{10, 20, 30}, {200, 210, 220}, 100, {200, 210, 220}, "100 gives the other"},
      {{100, 100, 100}, {255, 255, 255}, 150, {255, 255, 255}, "beyond 100: clamped above"},
      {{100, 100, 100}, {255, 0, 0}, -50, {22, 150, 150}, "below 0: extrapolates away"},
      {{255, 255, 255}, {0, 0, 255}, 30, {178, 178, 255}, "hot item: window with highlight"},
  };
  for (const Case& c : cases) {
    ColorValue v = Make(c.own);
    ColorValue& result = v.Blend(Make(c.other), c.percent);
    EXPECT_EQ(&result, &v) << "in place";
    EXPECT_RGB(v, c.expected, c.why);
  }
}

TEST(ColorValueTest, ChannelArithmeticClampsEachChannel) {
  struct Case {
    ColorValue result;
    Rgb expected;
    const char* why;
  };
  const ColorValue a = Make({240, 10, 128});
  const Case cases[] = {
      {a + 30, {255, 40, 158}, "a grey level lightens, clamped at 255"},
      {a + 300, {255, 255, 255}, "a level above 255 adds 255"},
      {a + (-40), {240, 10, 128}, "a negative level adds 0"},
      {a - 20, {220, 0, 108}, "subtraction clamps at 0"},
      {a + Make({20, 0, 200}), {255, 10, 255}, "with another colour"},
      {a - Make({250, 5, 28}), {0, 5, 100}, "another colour, clamped at 0"},
      {Make({100, 2, 0}) * 3, {255, 6, 0}, "times a grey level"},
      {Make({10, 20, 30}) * Make({2, 3, 4}), {20, 60, 120}, "times a colour"},
      {Make({100, 7, 0}) / Make({3, 2, 1}), {33, 3, 0}, "division truncates"},
      {Make({100, 50, 9}) / 10, {10, 5, 0}, "by a grey level"},
      {Make({100, 0, 9}) / Make({0, 0, 3}), {255, 255, 3}, "a zero divisor saturates, no fault"},
      {Make({100, 7, 0}) / 0, {255, 255, 255}, "a grey level of 0 too"},
  };
  for (const Case& c : cases) EXPECT_RGB(c.result, c.expected, c.why);

  ColorValue v = Make({1, 2, 3});
  ColorValue copy = v;
  (void)(v + 50);
  EXPECT_EQ(static_cast<COLORREF>(v), static_cast<COLORREF>(copy)) << "+ leaves the value";
  v += 50;
  EXPECT_RGB(v, (Rgb{51, 52, 53}), "+= changes it");
  v -= Make({1, 1, 1});
  v *= 2;
  v /= Make({2, 2, 2});
  EXPECT_RGB(v, (Rgb{50, 51, 52}), "in-place forms chain");
}

TEST(ColorValueTest, RgbToHsl) {
  struct Case {
    Rgb color;
    double hue, saturation, luminance;
    const char* why;
  };
  const Case cases[] = {
      {{128, 128, 128}, 0, 0, 128 / 255.0, "grey has no hue or saturation"},
      {{255, 0, 0}, 0, 1, 0.5, "red"},
      {{0, 255, 0}, 1 / 3.0, 1, 0.5, "green"},
      {{0, 0, 255}, 2 / 3.0, 1, 0.5, "blue"},
      {{255, 0, 255}, 5 / 6.0, 1, 0.5, "magenta: the negative hue wraps"},
      {{255, 255, 0}, 1 / 6.0, 1, 0.5, "a tie of red and green takes red's formula"},
      {{255, 128, 128}, 0, 1, (255 + 128) / 510.0, "light red: luminance above a half"},
      {{0, 0, 0}, 0, 0, 0, "black"},
  };
  for (const Case& c : cases) {
    double h = -1, s = -1, l = -1;
    Make(c.color).GetHSL(h, s, l);
    EXPECT_NEAR(h, c.hue, 1e-12) << c.why;
    EXPECT_NEAR(s, c.saturation, 1e-12) << c.why;
    EXPECT_NEAR(l, c.luminance, 1e-12) << c.why;
  }
}

TEST(ColorValueTest, HslToRgbTruncates) {
  struct Case {
    double hue, saturation, luminance;
    Rgb expected;
    const char* why;
  };
  const Case cases[] = {
      {0.3, 0.7, 1.0, {255, 255, 255}, "luminance 1 is white for any hue"},
      {0.9, 0.0, 0.5, {127, 127, 127}, "127.5 truncates to 127"},
      {0.0, 1.0, 0.5, {255, 0, 0}, "red"},
      {1 / 3.0, 1.0, 0.5, {0, 255, 0}, "green"},
      {2 / 3.0, 1.0, 0.25, {0, 0, 127}, "dark blue"},
      {0.0, 0.0, 0.0, {0, 0, 0}, "black"},
  };
  for (const Case& c : cases) {
    EXPECT_RGB(ColorValue::FromHSL(c.hue, c.saturation, c.luminance), c.expected, c.why);
  }
  EXPECT_DOUBLE_EQ(HueToRGB(0.2, 0.8, -0.5), 0.8) << "a negative hue wraps into range";
  EXPECT_DOUBLE_EQ(HueToRGB(0.2, 0.8, 0.9), 0.2);

  // Every channel survives a round trip within one step.
  const Rgb samples[] = {{12, 200, 99}, {255, 128, 1}, {77, 77, 200}, {3, 250, 251}};
  for (Rgb s : samples) {
    double h, sat, l;
    Make(s).GetHSL(h, sat, l);
    Rgb back = Channels(ColorValue::FromHSL(h, sat, l));
    EXPECT_LE(std::abs(back.r - s.r), 1);
    EXPECT_LE(std::abs(back.g - s.g), 1);
    EXPECT_LE(std::abs(back.b - s.b), 1);
  }
}

TEST(ColorValueTest, HsvBothWaysRounds) {
  struct Case {
    Rgb color;
    double hue, saturation, value;
  };
  const Case cases[] = {
      {{255, 0, 0}, 0, 1, 1},
      {{0, 255, 0}, 1 / 3.0, 1, 1},
      {{0, 0, 255}, 2 / 3.0, 1, 1},
      {{255, 0, 255}, 5 / 6.0, 1, 1},
      {{255, 255, 0}, 1 / 6.0, 1, 1},
      {{0, 255, 255}, 0.5, 1, 1},
      {{0, 0, 0}, 0, 0, 0},
  };
  for (const Case& c : cases) {
    double h = -1, s = -1, v = -1;
    Make(c.color).GetHSV(h, s, v);
    EXPECT_NEAR(h, c.hue, 1e-12);
    EXPECT_NEAR(s, c.saturation, 1e-12);
    EXPECT_NEAR(v, c.value, 1e-12);
    EXPECT_RGB(ColorValue::FromHSV(c.hue, c.saturation, c.value), c.color, "back again");
  }
  EXPECT_RGB(ColorValue::FromHSV(0.4, 0.0, 0.5), (Rgb{128, 128, 128}), "127.5 rounds up");
  EXPECT_RGB(ColorValue::FromHSV(1.25, 1.0, 1.0), (Rgb{128, 255, 0}), "only the fraction counts");
  // Exact conversions of any colour round-trip exactly.
  const Rgb samples[] = {{12, 200, 99}, {255, 128, 1}, {77, 77, 200}, {90, 40, 40}};
  for (Rgb s : samples) {
    double h, sat, v;
    Make(s).GetHSV(h, sat, v);
    EXPECT_RGB(ColorValue::FromHSV(h, sat, v), s, "round trip");
  }
}
