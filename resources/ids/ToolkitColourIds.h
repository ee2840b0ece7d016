// The toolkit's colour widgets: the colour wells, their Other button and the colour messages.
#pragma once

#define IDS_WG_OTHER 23100  // text of the colour well's Other button
#define IDC_WG_OTHER 59953  // control id of that button
