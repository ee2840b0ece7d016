// The line coding of engines.dat and categories.dat, both ways: a scrambled line is the
// scrambling coder's output (with its check) in Base64; the program reads a line by Base64
// decoding and unscrambling it, and takes any line that does not decode so as plain text.
#pragma once

#include <string>

class CDataFileCoder {
 public:
  explicit CDataFileCoder(const std::string& key) : m_key(key) {}

  // The scrambled form of one line (no line end). An empty line stays empty: the reader could not
  // tell its scrambled form from a damaged one.
  std::string EncodeLine(const std::string& line) const;
  // True when the line is a scrambled one under this key; `plain` then holds its text. Otherwise
  // `plain` is the line as it stands, as the program reads it.
  bool DecodeLine(const std::string& line, std::string& plain) const;

  const std::string& Key() const { return m_key; }

 private:
  std::string m_key;
};
