// Page dumps of a debug run: what an engine read and asked for, one file per step, so that a
// broken engine definition can be read off the files afterwards. Every file is named by the dump
// folder, the engine's name and a suffix of the step, and replaces an older file of that name.
#pragma once

#include "foundation/core/LibString.h"

// The file name of one dump: the dump folder, the engine's name and the suffix. Characters that
// would lead out of the folder or that file names cannot hold become "_" in the engine's name.
CLibString PageDumpPath(const CLibString& engineName, const CLibString& suffix);

// Writes the text as it stands (bytes untranslated); an empty text leaves an empty file, so an
// older dump of the same step never passes for this run's. False when the file cannot be written.
bool WritePageDump(const CLibString& engineName, const CLibString& suffix, const CLibString& text);
