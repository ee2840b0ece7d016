// Hints that the panes of the main window exchange besides those of the document and the run.
#pragma once

enum : unsigned {
  HINT_SETTINGS_CHANGED = 100,  // colours, fonts or the keyword filter changed
  HINT_LIST_COLORS = 102,       // the lists' colours changed
  HINT_TERM_RENAMED = 145,      // the current search term's text changed (object: the sender)
  HINT_BANNER_FIRST = 150,      // the banner's steps
  HINT_BANNER_FETCH = 150,      // fetch the next banner
  HINT_BANNER_READY = 151,      // a banner came whole (posted by the banner's worker)
  HINT_BANNER_LAST = 151,
};
