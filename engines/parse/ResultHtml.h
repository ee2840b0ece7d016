// The HTML of one result block, cut down to what tells results apart: the site is looked for in
// the block's text and links, and the reports show it, so the look of the engine's page (fonts,
// emphasis, colours, classes, comments) goes and the structure (links, line breaks, lists) stays.
#pragma once

#include "foundation/core/LibString.h"

// Rewrites a NUL-terminated buffer in place (it only ever gets shorter):
//  - every run of white space becomes one blank;
//  - comments ("<!" up to the first "-->" or "--!>") are removed with their terminator;
//  - the tags b, u, i, s, em, hr, font, span, img, strong, big and small (opening or closing, any
//    case) are removed whole;
//  - in every other tag the attributes bgcolor, color, target, class and style are removed with
//    their values (the blank before them stays).
// Everything else, text and the other tags and attributes, is left as it was.
void SimplifyResultHtml(char* text);

// The same on a copy of the text.
CLibString SimplifyResultHtml(const CLibString& text);
