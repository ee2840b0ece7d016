// The forms an engine has read off its pages: the form parser fills one, the request builder
// sends its fields. Each field list maps a field name to its value.
#pragma once

#include <cstdint>

#include "foundation/core/LibString.h"
#include "foundation/core/NVList.h"

class CEngineForm {
 public:
  CNVList m_fields;      // visible fields: text, submit, checked boxes, selected options
  CNVList m_hidden;      // hidden fields
  CNVList m_images;      // image buttons, by name
  CLibString m_text;     // free for the interpreter (the marker the form was found by)
  int32_t m_number = 0;  // free for the interpreter (the form's position)
  CLibString m_method;
  CLibString m_action;
};

class CFormRecord {
 public:
  static constexpr int kFormCount = 3;

  // The form the parser fills and the requests send.
  CEngineForm& Main() { return m_forms[0]; }
  const CEngineForm& Main() const { return m_forms[0]; }

  CEngineForm m_forms[kFormCount];
};
