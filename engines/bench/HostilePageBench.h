// The page readers on hostile pages (tags, links, comments and quotes that never end), each timed
// beside a well-formed page of the same size and the same reader. Prints a table, no verdict.
#pragma once

// Reads each page rounds times; returns 0, or 1 when a reader lost the items it must find.
int RunHostilePageBench(int rounds);
