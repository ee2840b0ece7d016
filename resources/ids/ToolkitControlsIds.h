// The toolkit's check list box and user tools: check images, the tools dialog and its texts.
#pragma once

// Check list box: unchecked, checked and indeterminate images side by side
#define IDB_TK_CHECKBOXES 4507
