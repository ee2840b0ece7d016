// Numeric ids of the resources in the language modules (ZBResENU.dll and its siblings).
// Both programs address every text, dialog, menu, bitmap and cursor by these ids.
#pragma once

// Main program
// The main window's document template: title and document strings, menu, icon, accelerators.
#define IDR_MAINFRAME 107

// The window class of the main window, by which other programs (the update program) and tests
// find it whatever its title shows.
#define ZBPRO_MAINFRAME_CLASS "ZBProMainFrame"

// Status bar panes of the main window (the document fills them in)
#define ID_INDICATOR_ENGINES 59394   // number of engines in the current set
#define ID_INDICATOR_SELECTED 59395  // number of selected engine rows
#define ID_INDICATOR_ACTIVE 59396    // number of enabled engines
#define ID_INDICATOR_RATE 59402      // receive rate during a run
#define ID_INDICATOR_ELAPSED 59405   // time since the run started

// Framework texts
#define AFX_IDS_IDLEMESSAGE 0xE001  // status text of an idle program (57345)

// Document: progress captions and the messages of a file that cannot be read
#define IDS_DOC_READING 271        // progress caption while a document is read
#define IDS_DOC_WRITING 272        // progress caption while a document is saved
#define IDP_DOC_DAMAGED 284        // the file is damaged or not a document; %1 is its path
#define IDP_DOC_NEWER_VERSION 285  // Yes/No: written by a newer version, start the update?
#define IDP_DOC_OLD_VERSION 297    // written by a version too old to be read
#define IDP_DOC_TOO_MANY_TERMS 381  // %1 path, %2 the most terms, %3 its terms, %4 engines
#define IDP_DOC_LONG_SITE 382       // %1 path, %2 the longest site address
#define IDP_DOC_LONG_TERM 383       // %1 path, %2 the longest search term
#define IDS_SITE_TOO_LONG 384       // the site field is full: %1 its most characters
#define IDS_TERM_TOO_LONG 385       // the search term field is full: %1 its most characters
#define IDS_TOO_MANY_TERMS 386      // no term added: %1 the most terms, %2 the engines

// Update program
#define IDS_ZBUPDATE_TITLE 599  // window title of the update program
#define IDD_ZBUPDATE_DIALOG 500     // the update dialog
#define IDI_ZBUPDATE 501            // its icon
#define IDS_UPDATE_COL_DESC 502     // confirmation list: description column
#define IDD_CONFIRM_UPDATE 503      // the confirmation dialog
#define IDS_UPDATE_COL_FILE 504     // confirmation list: file name column
#define IDS_UPDATE_COL_SIZE 505     // confirmation list: size column
#define IDC_UPDATE_STATUS 506
#define IDC_UPDATE_PROGRESS 507
#define IDS_MAIN_WINDOW_TITLE 508   // the exact title of the main program's window
#define IDC_UPDATE_DETAIL 509
#define IDS_UPDATE_CAPTION 510      // caption of the update program's messages
#define IDC_UPDATE_ANIMATE 511
#define IDS_UPDATE_READY 513        // detail line between steps
#define IDS_UPDATE_FETCHING 515
#define IDS_UPDATE_READING 516
#define IDC_CONFIRM_LIST 517
#define IDS_UPDATE_DOWNLOADING 518
#define IDS_UPDATE_TESTING 519
#define IDS_UPDATE_INSTALLING 520
#define IDS_UPDATE_INSTALLED 521
#define IDS_RELAUNCH_FAILED 522     // prefix of a failed start of the main program
#define IDS_UPDATE_TEST_FAILED 523
#define IDS_UPDATE_DOWNLOAD_FAILED 524
#define IDS_UPDATE_BYTES_TOTAL 525  // after the confirmation list's total size
#define IDS_RATE_MEGABYTES 526      // the rate units, after the number
#define IDS_RATE_KILOBYTES 527
#define IDS_RATE_BYTES 528
#define IDS_TIME_LEFT 529           // (hours, minutes)
#define IDS_TIME_LEFT_MINUTE 530    // under a minute left
#define IDS_UPDATE_DONE 531
#define IDS_UPDATE_NO_SWITCH 532    // started without /update
#define IDS_UPDATE_INSTALL_FAILED 533
#define IDS_ARCHIVE_DISKETTE 534      // caption of the archive layer's diskette prompts
#define IDS_ARCHIVE_NEW_DISKETTE 535  // asks for a new, formatted diskette
#define IDS_ARCHIVE_INSERT_DISKETTE 536  // asks for diskette number %d
#define IDC_CONFIRM_WHATSNEW 550
#define IDC_CONFIRM_TOTAL 551
#define IDC_UPDATE_RATE 552
#define IDC_UPDATE_HOST 553
#define IDC_UPDATE_TIME_LEFT 554

// Engine core
#define IDS_NO_ENGINES 273  // the engine database holds no engine (engines.dat missing or empty)

// Outcomes of a submission by mail (the engine's response text)
#define IDS_SUBMIT_NO_SMTP 3001      // the site profile names no mail server
#define IDS_SUBMIT_NO_EMAIL 3002     // the site profile names no e-mail address
#define IDS_SUBMIT_MAIL_SENT 3004    // the mail was accepted
#define IDS_SUBMIT_MAIL_FAILED 3005  // the mail was not accepted; the server's reply follows

// Reports: page titles, report texts, CSV captions and report mail
#define IDS_REPORT_KEYWORDSTAT_PAGE 142   // page title of the keyword statistics report
#define IDS_REPORT_URLSUMMARY_PAGE 143    // page title of the URL summary report
#define IDS_REPORT_NONE 168               // a report file without a page
#define IDS_REPORT_NO_SUBMIT_RESULT 246   // results report of an engine without stored answer
#define IDS_REPORT_DETAIL_PAGE 262        // page title of a detail report (%s: engine)
#define IDS_REPORT_SUMMARY_PAGE 263
#define IDS_REPORT_SUBMITTAL_PAGE 264
#define IDS_REPORT_MAILED 265             // the report was handed to the mail system
#define IDS_CSV_HEADER 279                // the CSV captions
#define IDS_REPORT_KEYWORD_PAGE 288
#define IDS_CSV_HEADER_PREVIOUS 300       // the caption of the previous-rank column
#define IDS_REPORT_COMPETITOR_PAGE 303
#define IDS_REPORT_FOOTER 3006            // the line under the maker's name in the footer
#define IDS_DETAIL_TEXT3 3010
#define IDS_DETAIL_ONE_RESULT 3011        // (pages, results)
#define IDS_DETAIL_ONE_PAGE 3012
#define IDS_DETAIL_TITLE 3013
#define IDS_DETAIL_PAGES 3014
#define IDS_DETAIL_FIRST_MATCH 3015
#define IDS_DETAIL_ONE_MATCH 3016
#define IDS_DETAIL_TWO_MATCHES 3017
#define IDS_DETAIL_MATCHES 3018           // (count)
#define IDS_DETAIL_NO_MATCH 3019
#define IDS_SUMMARY_TEXT3 3020
#define IDS_DETAIL_ADD_URL 3021
#define IDS_DETAIL_RESULTS_FROM 3022
#define IDS_REPORT_DOCUMENT 3023
#define IDS_REPORT_LAST_RUN 3024
#define IDS_REPORT_SITE 3025
#define IDS_COLUMN_ENGINE 3026
#define IDS_COLUMN_COUNTRY 3027
#define IDS_COLUMN_RANK 3028
#define IDS_COLUMN_PAGE 3029
#define IDS_COLUMN_POSITION 3030
#define IDS_COLUMN_RESULT 3031
#define IDS_REPORT_NOT_FOUND 3032
#define IDS_REPORT_FOUND_ONE 3034         // (pages, results)
#define IDS_REPORT_FOUND_ONE_PAGE 3035
#define IDS_DETAIL_TEXT2 3036
#define IDS_REPORT_FOUND_PAGES 3037
#define IDS_SUMMARY_FOUND 3038            // (found, rows)
#define IDS_SUMMARY_ONE_LISTING 3039
#define IDS_SUMMARY_TWO_LISTINGS 3040
#define IDS_SUMMARY_LISTINGS 3041         // (count)
#define IDS_SUMMARY_TOP10 3042
#define IDS_SUMMARY_TOP20 3043
#define IDS_SUMMARY_TOP30 3044
#define IDS_SUMMARY_FIRST_PLACES 3045     // (prompt, rank-1 count, rows)
#define IDS_SUMMARY_LISTINGS_HEAD 3046
#define IDS_SUMMARY_SCORE_FOUND 3047
#define IDS_SUMMARY_SCORE_ALL 3048
#define IDS_SUMMARY_SCORE_HEAD 3049
#define IDS_REPORT_SEARCH_TERM 3050
#define IDS_SUMMARY_TITLE 3051
#define IDS_SUMMARY_TEXT2 3052
#define IDS_SUBMITTAL_TITLE 3053
#define IDS_SUBMITTAL_TEXT2 3054
#define IDS_SUBMITTAL_TEXT3 3055
#define IDS_COLUMN_SUBMISSIONS 3056
#define IDS_COLUMN_FIRST_SUBMITTED 3057
#define IDS_COLUMN_LAST_SUBMITTED 3058
#define IDS_COLUMN_OUTCOME 3059
#define IDS_SUBMITTAL_ACCEPTED 3060
#define IDS_SUBMITTAL_FAILED 3061
#define IDS_SUBMITTAL_ROWS 3062           // (count)
#define IDS_SUBMITTAL_SUCCESSES 3063
#define IDS_SUBMITTAL_FAILURES 3064
#define IDS_SUBMITTAL_WAITING 3065
#define IDS_SUBMITTAL_RATE 3066           // (percent)
#define IDS_REPORT_PROMPT 3067            // what a first place shows in the rank column
#define IDS_COLUMN_KEYWORD 3068
#define IDS_KEYWORD_TITLE 3069
#define IDS_KEYWORD_TEXT2 3070
#define IDS_KEYWORD_TEXT3 3071
#define IDS_COMPETITOR_TITLE 3073
#define IDS_COMPETITOR_TEXT2 3074
#define IDS_COMPETITOR_TEXT3 3075
#define IDS_COLUMN_MATCHED_URL 3076
#define IDS_KEYWORDSTAT_TITLE 3077
#define IDS_KEYWORDSTAT_TEXT2 3078
#define IDS_KEYWORDSTAT_TEXT3 3079
#define IDS_URLSUMMARY_TEXT2 3088
#define IDS_URLSUMMARY_TITLE 3089
#define IDS_URLSUMMARY_TEXT3 3090
#define IDS_REPORT_WRITE_FAILED 3091      // (path) a report file could not be written
#define IDS_CSV_WRITE_FAILED 3092         // (path) the CSV file could not be written
#define IDS_REPORT_MAIL_FAILED 3093       // the report was not sent
#define IDS_REPORT_MAIL_UNADDRESSED 3094  // the report went to the mail program without a recipient
#define IDS_REPORT_OPEN_FAILED 3095       // (path) no program opened the written report
#define IDS_SUMMARY_HITS_FEW 3442
#define IDS_SUMMARY_HITS_SOME 3443
#define IDS_SUMMARY_HITS_MANY 3444
#define IDS_SUMMARY_HITS_MOST 3445
#define AFX_IDP_FAILED_MAPI_LOAD 61840
#define AFX_IDP_INVALID_MAPI_DLL 61841
#define AFX_IDP_FAILED_MAPI_SEND 61842

// Splash screen, template dialogs, small dialogs and language names
#include "ids/DialogIds.h"
#include "ids/UpdateIds.h"
#include "ids/MainFrameIds.h"
#include "ids/DocIds.h"
#include "ids/SearchFormIds.h"
#include "ids/SearchTermViewIds.h"
#include "ids/ToolkitWidgetsIds.h"
#include "ids/ToolkitFrameIds.h"
#include "ids/EngineViewIds.h"
#include "ids/ToolkitLayoutIds.h"
#include "ids/ImportPropertiesIds.h"
#include "ids/ToolkitToolbarIds.h"
#include "ids/ToolkitControlsIds.h"
#include "ids/ToolkitColourIds.h"
#include "ids/ToolkitMenusIds.h"
#include "ids/ToolkitMenuBarIds.h"
#include "ids/ToolkitDockWndIds.h"
#include "ids/OptionsIds.h"
#include "ids/ProjectIds.h"
#include "ids/ToolkitPopupsIds.h"
