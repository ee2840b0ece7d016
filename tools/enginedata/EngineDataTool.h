// The command line of the enginedata tool, kept apart from main so the tests can run it whole.
//
//   enginedata encode [options] [INPUT [OUTPUT]]   readable data file -> scrambled one
//   enginedata decode [--key TEXT] [INPUT [OUTPUT]]  scrambled (or mixed) -> readable
//   enginedata check [--key TEXT] SCRAMBLED READABLE
//
// A missing INPUT or OUTPUT, or "-", is standard input or output.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// Returns the process exit code: 0 done, 1 the check found a difference or a line was refused,
// 2 bad usage or a file that could not be read or written.
int RunEngineDataTool(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                      std::ostream& err);
