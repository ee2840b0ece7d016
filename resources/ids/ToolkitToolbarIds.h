// The toolkit's toolbar: where a customised bar keeps its buttons, and the customise dialog's
// questions.
#pragma once

#define IDS_TK_TOOLBAR_KEY 4533     // registry key of the bars: registry key, profile name
#define IDS_TK_TOOLBAR_VALUE 4541   // value of one bar: profile name, bar id
#define IDS_TK_TOOLBAR_RESET 4652   // asked before the customise dialog puts the buttons back
#define IDS_TK_TOOLBAR_NOHELP 4699  // the customise dialog's Help button
