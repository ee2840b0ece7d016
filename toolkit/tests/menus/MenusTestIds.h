// Resources of the menu tests' own program.
#pragma once
#define IDR_TEST_BAR_ONE 301  // toolbar and its images: red, green, (separator), blue
#define IDR_TEST_BAR_TWO 302  // toolbar and its images: yellow (the blue one's command), magenta
#define ID_TEST_RED 41001
#define ID_TEST_GREEN 41002
#define ID_TEST_BLUE 41003
#define ID_TEST_MAGENTA 41004
