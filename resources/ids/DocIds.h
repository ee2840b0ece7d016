// Ids of the application's and the document's commands, and of their strings.
#pragma once

// Application commands
#define ID_APP_ABOUT_ZB 32905
#define ID_HELP_TIP_OF_DAY 32804
#define ID_HELP_CONTENTS_ZB 32831
#define ID_HELP_TOPIC_FIRST 32841  // help topics, one per command up to the last
#define ID_HELP_TOPIC_LAST 32855
#define ID_HELP_SEARCH_ZB 32839
#define ID_HELP_ON_HELP 32838
#define ID_HELP_SUPPORT_PAGE 32836
#define ID_HELP_HOME_PAGE 32835

// Document commands
#define ID_TERM_NEXT 32859
#define ID_TERM_PREVIOUS 32858
#define ID_PROJECT_PAGE0 32866
#define ID_PROJECT_PAGE1 32867
#define ID_PROJECT_PAGE2 32892
#define ID_PROJECT_PAGE3 32893
#define ID_PROJECT_SHEET 32827
#define ID_OPTIONS_SHEET 32825
#define ID_UPDATE_START 32774
#define ID_SUPPORT_MAIL 32837
#define ID_ENGINE_VIEW_COMMAND 32907
#define ID_ENGINES_CHECK_ALL 32863
#define ID_ENGINES_CHECK_NONE 32864
#define ID_TEMPLATE_COMBO 32860
#define ID_TEMPLATE_SAVE 32861
#define ID_TEMPLATE_DELETE 32862

// Status panes of the receive rate (after 59402, the pane's idle text)
#define IDS_RATE_PANE_MB 59399  // (rate in MB/s, "%.0f" text)
#define IDS_RATE_PANE_KB 59400  // (rate in KB/s, "%.0f" text)
#define IDS_RATE_PANE_B 59401   // (rate in bytes per second)

// Messages
#define IDP_SOCKETS_INIT_FAILED 103  // the socket layer did not start
#define IDP_SUPPORT_MAIL_FAILED 112  // the support mail could not be sent
#define IDP_TEMPLATE_DELETE 163      // OK/Cancel: delete the chosen template?
