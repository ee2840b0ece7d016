#include "engines/parse/FormParser.h"

#include <cctype>
#include <cstring>
#include <vector>

#include "engines/parse/FormRecord.h"
#include "engines/parse/PageAddress.h"
#include "engines/db/SearchEngine.h"
#include "engines/parse/TagAttributes.h"
#include "foundation/core/PatternList.h"

namespace {

enum FormPattern : uint16_t { kMarker = 1, kFormEnd, kFormStart, kInput, kSelect, kOption };

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Collects the ids of the patterns that complete on one byte, in the list's order.
void Collect(CPattern* pattern, void* context) {
  static_cast<std::vector<uint16_t>*>(context)->push_back(pattern->id);
}

CLibString Slice(const char* text, size_t from, size_t to) {
  return to > from ? CLibString(text + from, text + to - 1) : CLibString();
}

}  // namespace

int ParseForm(CSearchEngine& engine, const CLibString& marker, int position, const CLibString& page,
              CEngineForm& form, const CNVList& overrides) {
  form.m_fields.RemoveAll();
  form.m_hidden.RemoveAll();
  form.m_images.RemoveAll();
  form.m_method = CLibString();
  form.m_action = CLibString();
  form.m_text = marker;
  if (position <= 0) position = 1;
  form.m_number = position;

  const char* text = page.c_str();
  const size_t length = static_cast<size_t>(page.GetLength());
  const size_t markerLength = static_cast<size_t>(marker.GetLength());
  if (length > 0 && markerLength > 0) {
    std::vector<uint16_t> hits;
    // The marker is matched as written; tag names in any case, so tags are fed lower-cased.
    CPatternList markers(Collect, &hits);
    markers.AddPattern(kMarker, marker.c_str(), markerLength);
    CPatternList tags(Collect, &hits);
    tags.AddPattern(kFormEnd, "</form", 0);
    tags.AddPattern(kFormStart, "<form", 0);
    tags.AddPattern(kInput, "<input", 0);
    tags.AddPattern(kSelect, "<select", 0);
    tags.AddPattern(kOption, "<option", 0);

    bool inRegion = false;
    bool inForm = false;
    int count = 0;
    CLibString selectName;
    for (size_t i = 0; i < length && count <= position; ++i) {
      hits.clear();
      unsigned char byte = static_cast<unsigned char>(text[i]);
      markers.Feed(byte);
      tags.Feed(static_cast<unsigned char>(tolower(byte)));
      for (uint16_t id : hits) {
        switch (id) {
          case kMarker:
            inRegion = true;
            break;
          case kFormEnd:
            if (inForm) {
              inForm = false;
              ++count;  // past the wanted form: no later form is taken
            }
            inRegion = false;
            break;
          case kFormStart:
            if (!inRegion || inForm) break;
            if (++count == position) {
              inForm = true;
              size_t start = i + 1 - 5;
              size_t end = FindTagEnd(text, length, start);
              CLibString tag = Slice(text, start, end + 1);
              form.m_method = GetTagAttribute(tag, "method");
              // The action becomes a request line: the page may not add lines to it.
              form.m_action = CleanPageAddress(GetTagAttribute(tag, "action"));
            }
            break;
          case kInput:
          case kSelect:
          case kOption: {
            if (!inForm) break;
            size_t start = i + 1 - (id == kInput ? 6 : 7);
            size_t end = FindTagEnd(text, length, start);
            CLibString tag = Slice(text, start, end + 1);
            if (id == kInput) {
              ClassifyInput(tag, form.m_fields, form.m_hidden, form.m_images);
              break;
            }
            CNVList attributes;
            ParseTagAttributes(tag, attributes);
            if (id == kSelect) {
              selectName = attributes.GetValue("name");
              break;
            }
            if (!attributes.Contains("selected") && !attributes.Contains("checked")) break;
            if (selectName.GetLength() == 0) break;  // an unnamed select is not sent
            CLibString value;
            if (!attributes.GetValue("value", value)) {
              // Without a value attribute an option sends its text.
              size_t textStart = end < length ? end + 1 : length;
              const char* next =
                  static_cast<const char*>(memchr(text + textStart, '<', length - textStart));
              size_t textEnd = next ? static_cast<size_t>(next - text) : length;
              // Its text as shown: without the white space around it.
              while (textStart < textEnd && IsSpace(text[textStart])) ++textStart;
              while (textEnd > textStart && IsSpace(text[textEnd - 1])) --textEnd;
              value = Slice(text, textStart, textEnd);
            }
            form.m_fields.SetAt(selectName, value);
            break;
          }
          default:
            break;
        }
      }
    }
  }

  overrides.ForEach([&](const CNVItem& item) {
    CLibString value = item.m_value;
    engine.SubstitutePlaceholders(value, false);
    for (CNVList* list : {&form.m_fields, &form.m_hidden, &form.m_images})
      if (list->Contains(item.m_name)) list->SetAt(item.m_name, value);
    if (item.m_name == "method") form.m_method = value;
    if (item.m_name == "action") form.m_action = value;
  });

  return static_cast<int>(form.m_fields.GetCount() + form.m_hidden.GetCount() +
                          form.m_images.GetCount());
}
