// The toolkit's colour widgets: the colour wells, their Other button and the colour messages.
#pragma once

#define IDS_WG_OTHER 23100  // text of the colour well's Other button
#define IDC_WG_OTHER 59953  // control id of that button

// Colour picker popup: cell tooltips run from IDS_TK_COLOR_FIRST in the 40-colour palette's cell
// order (4586-4625); the 16-colour palette reuses some of them and adds 4626-4632.
#define IDS_TK_COLOR_FIRST 4586
#define IDS_TK_COLOR_NOFILL 4633       // first button in no-fill mode
#define IDS_TK_COLOR_NOFILL_TIP 4634
#define IDS_TK_COLOR_AUTOMATIC 4635    // first button in automatic mode
#define IDS_TK_COLOR_AUTOMATIC_TIP 4636
#define IDS_TK_COLOR_MORE 4637         // the more-colours button
#define IDS_TK_COLOR_MORE_TIP 4638     // its tooltip, and the recent colours'
#define IDS_TK_COLOR_HEADING 4639      // above the 16-colour palette

// Colour dialog
#define IDS_TK_COLORDLG_CAPTION 4647
#define IDS_TK_COLORDLG_NEW 4648
#define IDS_TK_COLORDLG_CURRENT 4649

// Colour dialog pages
#define IDD_TK_COLOR_STANDARD 4531
#define IDD_TK_COLOR_CUSTOM 4532
#define IDC_TK_COLOR_HEXAGON 5552
#define IDC_TK_COLOR_FIELD 5550
#define IDC_TK_COLOR_BAR 5551
#define IDC_TK_COLOR_RED 5531
#define IDC_TK_COLOR_GREEN 5533
#define IDC_TK_COLOR_BLUE 5540
#define IDC_TK_COLOR_HUE 5537
#define IDC_TK_COLOR_SAT 5536
#define IDC_TK_COLOR_LUM 5535
#define IDC_TK_COLOR_RED_SPIN 5534
#define IDC_TK_COLOR_GREEN_SPIN 5538
#define IDC_TK_COLOR_BLUE_SPIN 5539
#define IDC_TK_COLOR_HUE_SPIN 5541
#define IDC_TK_COLOR_SAT_SPIN 5542
#define IDC_TK_COLOR_LUM_SPIN 5543
#define IDC_TK_COLOR_RED_LABEL 5544
#define IDC_TK_COLOR_GREEN_LABEL 5545
#define IDC_TK_COLOR_BLUE_LABEL 5546
#define IDC_TK_COLOR_HUE_LABEL 5547
#define IDC_TK_COLOR_SAT_LABEL 5548
#define IDC_TK_COLOR_LUM_LABEL 5549
