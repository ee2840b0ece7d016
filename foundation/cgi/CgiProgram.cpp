#include "foundation/cgi/CgiProgram.h"

#include <iostream>

#include "foundation/html/HtmlElement.h"

CCgiProgram::CCgiProgram() : m_in(&std::cin), m_out(&std::cout) {}

int CCgiProgram::Read(char* buffer, int count) {
  if (!m_in || !buffer || count <= 0) return 0;
  m_in->read(buffer, count);
  return static_cast<int>(m_in->gcount());
}

void CCgiProgram::Write(const CHtmlElement& element) {
  if (!m_out) return;
  element.Write(*m_out);
  m_out->flush();
}
