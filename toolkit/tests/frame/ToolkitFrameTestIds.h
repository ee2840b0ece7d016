// Resources of the toolkit frame tests' own program.
#pragma once
#define IDB_TEST_GREYS8 101   // five pixels: black, dark grey, light grey, white, another colour
#define IDB_TEST_GREYS24 102  // the same pixels without a colour table
