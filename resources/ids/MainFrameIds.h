// Ids of the main window: its commands, bars, menus, bitmaps and texts.
#pragma once

// Bars, menus and bitmaps
#define IDR_OPEN_DROPDOWN 117      // menu of the Open button's arrow
#define IDR_TEMPLATEBAR 379        // second toolbar (templates)
#define IDB_MAINBAR_HOT 376        // main toolbar images under the mouse, 21 x 20
#define IDB_MAINBAR 377            // main toolbar images, 21 x 20
#define IDB_TEMPLATEBAR 378        // second toolbar images, 16 x 16
#define IDD_MAINFRAME_DIALOGBAR 385
#define ID_MAINFRAME_MENUBAR 59398
#define ID_MAINFRAME_TOOLBAR 59392
#define ID_MAINFRAME_TEMPLATEBAR 59424
#define ID_MAINFRAME_DIALOGBAR 59425
#define ID_MAINFRAME_REBAR 59396
#define ID_MAINFRAME_STATUSBAR 59393
#define ID_MAINFRAME_SPLITTER 59648

// Texts of the bars and the frame
#define IDS_TB_APPLY_TEMPLATE 111  // text of the second toolbar's apply button
#define IDS_TB_NEW 125
#define IDS_TB_OPEN 126
#define IDS_TB_SAVE 127
#define IDS_TB_MAIL 128
#define IDS_TB_PROPERTIES 134
#define IDS_TEMPLATEBAR_BAND 137   // caption of the second toolbar's band
#define IDS_SHOW_SEARCH_TERMS 164  // menu text while the search-term pane is hidden
#define IDS_HIDE_SEARCH_TERMS 165  // menu text while it is shown
#define IDS_TB_CHECK 169
#define IDS_TB_STOP 170
#define IDP_TOOL_FAILED 191        // a user tool could not be started
#define IDP_CSV_EXPORTED 280
#define IDP_CSV_FAILED 281

// Commands: reports shown
#define ID_VIEW_KEYWORD 32817
#define ID_VIEW_DETAIL 32901
#define ID_VIEW_SUMMARY 32902
#define ID_VIEW_SUBMITTAL 32903
#define ID_VIEW_RESULTS 32904
#define ID_VIEW_COMPETITOR 32909
#define ID_VIEW_KEYWORDSTAT 32912
#define ID_VIEW_URLSUMMARY 32913
// reports mailed
#define ID_MAIL_SUMMARY 32798
#define ID_MAIL_SUBMITTAL 32809
#define ID_MAIL_KEYWORD 32818
#define ID_MAIL_URLSUMMARY 32916
#define ID_MAIL_COMPETITOR 32917
#define ID_MAIL_KEYWORDSTAT 32918
#define ID_EXPORT_CSV 32805
// panes and focus
#define ID_VIEW_SEARCHTERMS 32869
#define ID_FOCUS_SITE 32898
#define ID_FOCUS_SEARCHTERM 32899
// search terms
#define ID_TERM_PREVIOUS 32858
#define ID_TERM_NEXT 32859
// engine list
#define ID_ENGINE_HOMEPAGE 32822
#define ID_ENGINE_ADDPAGE 32823
#define ID_ENGINE_ALL 32863
#define ID_ENGINE_NONE 32864
#define ID_TEMPLATE_COMBO 32860
#define ID_TEMPLATE_SAVE 32861
#define ID_TEMPLATE_DELETE 32862
#define ID_TEMPLATE_APPLY 32907
// document
#define ID_PROJECT_PAGE0 32866
#define ID_PROJECT_PAGE1 32867
#define ID_PROJECT_PAGE2 32892
#define ID_PROJECT_PAGE3 32893
#define ID_PROJECT_PROPERTIES 32827
#define ID_OPTIONS 32825
#define ID_ENGINE_OPTIONS 32894
#define ID_CHECK_UPDATE 32774
#define ID_SUPPORT_MAIL 32837
// user tools
#define ID_TOOLS_EDIT 43043
#define ID_TOOLS_FIRST 43044
#define ID_TOOLS_LAST 43052
// framework commands the menus carry
#define ID_DEFAULT_HELP 57671
