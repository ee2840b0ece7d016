// CTranslator: translates a short text between English and five other languages through an
// online translation service, driven the way a user drives its web form: the front page first
// (the service hands out its cookies there), then the form, then the translation cut out of the
// answer page. Every failure gives back the text untranslated.
#pragma once

#include "foundation/core/LibString.h"
#include "foundation/net/SockHttpClient.h"

class CTranslator : public CSockHttpClient {
 public:
  CTranslator();
  ~CTranslator() override;

  // Language codes: "ENU", "FRA", "DEU", "ESM", "ITA", "PTB". The code is upper-cased; an unknown
  // one is refused (false) and nothing is stored.
  bool SetSourceLanguage(const CLibString& code);
  bool SetTargetLanguage(const CLibString& code);
  void SetText(const CLibString& text) { m_text = text; }
  CLibString GetResult() const { return m_result; }

  // The translated text, also kept as the result; the text itself when anything fails.
  CLibString Translate();

  // The service's address ("http://host[:port]", no trailing "/"); tests point it elsewhere.
  void SetServiceAddress(const CLibString& address) { m_service = address; }

  // The service's pair name for two codes ("en_fr"); empty for a pair it does not translate.
  static CLibString LanguagePair(const CLibString& source, const CLibString& target);
  // The translated text of the service's answer page, in Latin-1; empty without its marker.
  static CLibString ExtractTranslation(const CLibString& page);

 private:
  bool SetLanguage(CLibString& field, const CLibString& code);
  void SetServiceHeaders();

  CLibString m_sourceLanguage;
  CLibString m_targetLanguage;
  CLibString m_text;
  CLibString m_result;
  CLibString m_service;
};
