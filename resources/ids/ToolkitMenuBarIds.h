// The toolkit's menu bar: the floating bar's caption and the window list's last item.
#pragma once

#define IDS_TK_MENUBAR_TITLE 4644  // caption of the floating menu bar
#define IDS_TK_MORE_WINDOWS 4653   // window list: the item that lists further windows
