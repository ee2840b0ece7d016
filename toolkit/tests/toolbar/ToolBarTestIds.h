// Resources of the toolbar tests' own program.
#pragma once
#define IDR_TEST_BAR 201
#define IDR_TEST_DROP 202
#define IDB_TEST_MAGENTA 203
#define ID_TEST_FIRST 40001
#define ID_TEST_SECOND 40002
#define ID_TEST_THIRD 40003
#define ID_TEST_FOURTH 40004
#define ID_TEST_DROPPED 40010
