// Marks of the program's start-up, read by the start-up benchmark. With the environment variable
// ZBPRO_STARTUP_PHASES naming a file, each mark appends a line "name<TAB>wall ms<TAB>CPU ms" to it,
// both counted from the start of the process (CPU time: the whole process's, user and kernel).
// Without the variable a mark costs one test.
#pragma once

// The start-up's marks, in the order they come.
namespace startup {
inline constexpr const char kLanguage[] = "language and settings";
inline constexpr const char kDatabase[] = "engine database loaded";
inline constexpr const char kWindowMade[] = "main window made";
inline constexpr const char kSetsMade[] = "document read, sets made";
inline constexpr const char kTermList[] = "term list filled";
inline constexpr const char kEngineRows[] = "engine list: rows made";
inline constexpr const char kEngineCells[] = "engine list: cells of the current set";
inline constexpr const char kViewsFilled[] = "views filled";
inline constexpr const char kShown[] = "main window shown";
inline constexpr const char kFirstPaint[] = "engine list painted";
}  // namespace startup

void MarkStartupPhase(const char* name);
