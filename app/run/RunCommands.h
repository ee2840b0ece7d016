// The ids of the run commands (menus and toolbars) and the view hints of a run.
#pragma once

enum : unsigned {
  ID_RUN_DEBUG = 325,
  ID_RUN_CHECK_ALL = 32883,
  ID_RUN_CHECK_SELECTED = 32884,
  ID_RUN_STOP = 32885,
  ID_RUN_SUBMIT_AUTO = 32886,
  ID_RUN_SUBMIT_CURRENT = 32887,
  ID_RUN_SUBMIT_SELECTED = 32888,
  ID_RUN_MARK_SUBMITTED = 32889,
  ID_RUN_CHECK_CURRENT = 32895,
  ID_RUN_CHECK_SELECTED2 = 32896,
  ID_RUN_ENGINE_FLAG = 32908,
};

// Hints of the views, posted from run and worker threads or sent by the document.
enum : unsigned {
  HINT_RUN_SET_UP = 120,
  HINT_RUN_START = 121,
  HINT_RUN_FINISHED = 122,
  HINT_RUN_TEST_END = 123,
  HINT_RUN_AUTOMATED_END = 124,
  HINT_PROGRESS_STEP = 131,
  HINT_ENGINE_EVENT = 141,
  HINT_CURRENT_SET = 142,
  HINT_TERMS_CHANGED = 143,
};

// Strings of the run: captions of the progress bar and the questions.
enum : unsigned {
  IDS_RUN_MARK_QUESTION = 194,
  IDS_RUN_SUBMIT_CAPTION = 276,
  IDS_RUN_CHECK_CAPTION = 277,
  IDS_RUN_TOO_MANY_WORDS = 274,
  IDS_RUN_LONG_COMMA_WORD = 275,
};

// The user value of the finish event that the run raises itself.
constexpr unsigned kRunFinishUser = 83954;
