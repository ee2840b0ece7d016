// Reading the engine data files (engine definitions and directory categories): text lines that
// are either Base64 of a scrambled line or plain text. Lines of any length are read whole.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "foundation/core/LibString.h"

// A line as read (without its line end) becomes its decoded text when it is Base64 of a text
// scrambled with the key, else it stays as it is; blanks are then trimmed at both ends. True
// when it was decoded.
bool DecodeDataFileLine(CLibString& line, const char* key);


// "\n", "\r" and "\t" written as two characters become line feed, carriage return and tab.
void ReplaceDataFileEscapes(CLibString& text);

class CDataFile {
 public:
  CDataFile() = default;
  ~CDataFile() { Close(); }
  CDataFile(const CDataFile&) = delete;
  CDataFile& operator=(const CDataFile&) = delete;

  bool Open(const char* path);
  void Close();
  bool IsOpen() const { return m_file != nullptr; }
  // The next line, whole and without its line end; false at the end of the file.
  bool ReadRawLine(CLibString& line);
  // The next line, decoded with the key (DecodeDataFileLine).
  bool ReadLine(CLibString& line, const char* key);
  // True when the lines read so far show damage: an encoded file (one with lines that decoded)
  // with a line that looks encoded but does not decode, or a last line without its line end
  // that looks encoded but does not decode (a file cut short).
  bool LooksDamaged() const;
  // Bytes read so far, for the progress of a load.
  long GetPosition() const { return m_position; }

 private:
  FILE* m_file = nullptr;
  long m_position = 0;
  bool m_lineEnded = true;  // the last raw line had its line end
  long m_decodedLines = 0;
  long m_undecodedLines = 0;  // that look encoded
  bool m_cutShort = false;
};
