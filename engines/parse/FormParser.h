// The form parser: reads one HTML form of a fetched page into an engine's form, so that a request
// can send it back with the user's values ("#FORMNEXT#", "#ALLFORMFIELDS#").
#pragma once

#include "foundation/core/LibString.h"
#include "foundation/core/NVList.h"

class CEngineForm;
class CSearchEngine;

// Finds the form: every occurrence of the marker (matched exactly) opens a region up to the next
// form end, and the form starts inside regions are counted from 1 through the page; the one
// numbered position (0 counts as 1) is read. Its inputs, the selected options of its selects,
// and the method and action of its start tag go into the form, which is emptied first. Then each
// override (field name -> value) gets the engine's placeholders (keywords not encoded: the query
// builder encodes them once) and replaces the value of that field where the form has it; the
// names "method" and "action" replace the form's method and action. Returns the number of fields
// read (visible, hidden and image buttons together); 0 when the form is not there.
int ParseForm(CSearchEngine& engine, const CLibString& marker, int position, const CLibString& page,
              CEngineForm& form, const CNVList& overrides);
