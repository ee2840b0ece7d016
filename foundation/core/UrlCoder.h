// CUrlCoder: URL escaping of bytes ("+" for a blank, "%xx" in lower case), optionally writing
// Latin-1 bytes as their UTF-8 escapes when the character set is "UTF-8".
#pragma once

#include "foundation/core/Coder.h"

class CUrlCoder : public CCoder {
 public:
  int GetId() const override { return kUrlCoder; }
  CLibString GetName() const override { return "Url Coder"; }
  char* Encode(const char* data, int& length) override;
  char* Decode(const char* data, int& length) override;

  void SetCharset(const CLibString& name) { m_charset = name.Upper(); }
  const CLibString& GetCharset() const { return m_charset; }

 private:
  CLibString m_charset;
};

// Code a text in place and return a copy of the result.
CLibString UrlEncode(CLibString& text, const CLibString& charset = CLibString());
CLibString UrlDecode(CLibString& text, const CLibString& charset = CLibString());
