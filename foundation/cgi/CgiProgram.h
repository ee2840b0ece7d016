// CCgiProgram: a CGI environment bound to the process's standard input and output.
#pragma once

#include <iosfwd>

#include "foundation/cgi/CgiEnvironment.h"

class CHtmlElement;

class CCgiProgram : public CCgiEnvironment {
 public:
  // Standard input and standard output.
  CCgiProgram();
  // Other streams (either may be null: its operation then does nothing).
  CCgiProgram(std::istream* in, std::ostream* out) : m_in(in), m_out(out) {}

  // Reads up to count bytes; returns how many were read.
  int Read(char* buffer, int count);
  // Prints the element (a whole page, say) to the output stream.
  void Write(const CHtmlElement& element);

 private:
  std::istream* m_in;
  std::ostream* m_out;
};
