// The engine list in the main window: column headers, the texts of a run's events, the
// submission marks, the context menu and the engine images.
#pragma once

// Engine images: 16 x 16 icons, white is transparent. The second bitmap carries the icons
// beyond the first 128.
#define IDB_ENGINES_MORE 367
#define IDB_ENGINES 368
#define IDR_ENGINES_POPUP 105        // the list's context menu (first submenu)

// Column headers
#define IDS_ENGINE_COL_NAME 229
#define IDS_ENGINE_COL_COUNTRY 230
#define IDS_ENGINE_COL_LANGUAGE 231
#define IDS_ENGINE_COL_MARK 232
#define IDS_ENGINE_COL_SUBMISSIONS 233
#define IDS_ENGINE_COL_SUBMITTED 234
#define IDS_ENGINE_COL_PREVIOUS 267
#define IDS_ENGINE_COL_RANK 268
#define IDS_ENGINE_COL_PAGE 269
#define IDS_ENGINE_COL_POSITION 270
#define IDS_ENGINE_COL_STATUS 298

// Submission marks (column 3)
#define IDS_ENGINE_MARK_SUBMIT 196      // the engine takes submissions
#define IDS_ENGINE_MARK_ADD_PAGE 197    // no submission, but an add page
#define IDS_ENGINE_MARK_NONE 198        // neither
#define IDS_ENGINE_MARK_EXCLUDED 209    // the user took the engine out of submissions

// Status texts of a run (column 10)
#define IDS_ENGINE_CONNECTED 236
#define IDS_ENGINE_REQUEST_PAGE 237     // (page)
#define IDS_ENGINE_CONNECT_FAILED 238
#define IDS_ENGINE_ABORTED 239
#define IDS_ENGINE_CONNECTION_FAILED 240
#define IDS_ENGINE_TIMEOUT_COUNTS 241   // (found text, pages, page word, results, result word)
#define IDS_ENGINE_PAGE_ONE 242
#define IDS_ENGINE_PAGE_MANY 243
#define IDS_ENGINE_RESULT_ONE 244
#define IDS_ENGINE_RESULT_MANY 245
// 246, the time-out after a query without pages, is the report's IDS_REPORT_NO_SUBMIT_RESULT
#define IDS_ENGINE_TIMEOUT_NO_QUERY 247
#define IDS_ENGINE_REQUEST_SENT 248
#define IDS_ENGINE_RECEIVING_PERCENT 249  // (page, percent)
#define IDS_ENGINE_RECEIVING_KB 250       // (page, kilobytes)
#define IDS_ENGINE_PAGE_RECEIVED 251      // (page)
#define IDS_ENGINE_RESULT_FOLLOWED 252    // (position)
#define IDS_ENGINE_RANKED_FIRST 253
#define IDS_ENGINE_COUNTS 254             // (found text, pages, page word, results, result word)
#define IDS_ENGINE_FOUND 255
#define IDS_ENGINE_NOT_FOUND 256
#define IDS_ENGINE_NOT_SEARCHED 257
#define IDS_ENGINE_SUBMIT_BY_HAND 258
#define IDS_ENGINE_SUBMITTING 259
#define IDS_ENGINE_SUBMITTED 260
#define IDS_ENGINE_SUBMIT_FAILED 261
#define IDS_ENGINE_CONNECTING 286
#define IDS_ENGINE_NOT_ELIGIBLE 296
#define IDS_ENGINE_TIMED_OUT 299
#define IDS_ENGINE_NO_ADDRESS 367
#define IDS_ENGINE_PARSING 368
#define IDS_ENGINE_PAGE_PARSED 369
#define IDS_ENGINE_WAITING 370

// Texts of the one-engine commands (menu items follow the selected engine)
#define IDS_ENGINE_NO_SELECTION 224     // home page command without a selected engine
#define IDS_ENGINE_OPEN_HOME 291        // (engine)
#define IDS_ENGINE_NO_ADD_PAGE 292      // (engine)
#define IDS_ENGINE_OPEN_ADD_PAGE 293    // (engine)

// Commands of the list
#define ID_ENGINE_SELECT_ALL 57642
#define ID_ENGINE_SELECT_BY 32919
