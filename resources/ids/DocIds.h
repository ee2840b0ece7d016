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

// Status panes of the receive rate (after 59402, the pane's idle text)
#define IDS_RATE_PANE_MB 59399  // (rate in MB/s, "%.0f" text)
#define IDS_RATE_PANE_KB 59400  // (rate in KB/s, "%.0f" text)
#define IDS_RATE_PANE_B 59401   // (rate in bytes per second)

// Messages
#define IDP_SOCKETS_INIT_FAILED 103  // the socket layer did not start
#define IDP_SUPPORT_MAIL_FAILED 112  // the support mail could not be sent
#define IDP_TEMPLATE_DELETE 163      // OK/Cancel: delete the chosen template?
#define IDP_TEMPLATE_NOT_SAVED 7141  // templates.dat could not be written
#define IDP_HELP_FILE_MISSING 7142   // (path) the help file is not there
#define IDP_HELP_FAILED 7143         // (path) the system's help did not open the file
