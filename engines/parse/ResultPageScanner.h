// One reading of one result page with an engine's markers: the page is read once, front to back,
// with every marker matched as the bytes go by. Result blocks go to the engine's result handler
// as soon as they close; a next-page marker seen inside a link hands that link to the engine.
// CSearchEngine::ParseResultsPage reads the markers from the definition and runs it.
#pragma once

#include <cstdint>

#include "foundation/core/LibString.h"

class CSearchEngine;
struct CPattern;

// The definition keys a result page is read with; the block markers with their placeholders
// filled in.
struct CResultMarkers {
  static constexpr int kCount = 4;

  CLibString startOfPage[kCount];
  CLibString endOfPage[kCount];
  CLibString start[kCount];
  CLibString stop[kCount];
  int startLength[kCount] = {};
  int stopLength[kCount] = {};
  bool include[kCount] = {};  // the block begins with its start marker
  bool strip[kCount] = {};    // the block ends before its stop marker
  CLibString prepend, append;
  CLibString next[2];  // next-page markers, as written in the definition
  CLibString formStart[2];
  int formPosition = 0;
  CLibString formChangeName, formChangeValue;
  // The array engine's markers: next link, titles, addresses, abstracts, end of the array.
  CLibString arrays[5];
};

class CResultPageScanner {
 public:
  // The page must stay as it is while the scanner reads it.
  CResultPageScanner(CSearchEngine& engine, const CResultMarkers& markers, const char* page)
      : m_engine(engine), m_markers(markers), m_page(page) {}

  // The first pass: result blocks and the next-page link. Returns the number of blocks.
  int Scan();
  // The second pass: the next-page link alone, with markers that hold this page's counts.
  void ScanForNextLink(const CLibString& next1, const CLibString& next2);

 private:
  // Every armed marker reports on a flag of its own.
  enum Slot {
    kStartOfPage,
    kEndOfPage,
    kStart1,
    kStop1 = kStart1 + CResultMarkers::kCount,
    kNext1 = kStop1 + CResultMarkers::kCount,
    kNext2,
    kLink,
    kArrayTitles,
    kArrayEnd,
    kArrayOther,
    kSlotCount
  };

  static void OnMatch(CPattern* pattern, void* context);
  bool AnyStart() const;
  bool AnyStop() const;
  void ClearBlockFlags();
  bool IsQuiet() const;
  void TakeLinkOpening();
  void TakeNextLink();
  int BlockBegin(int after) const;
  int ContentBegin(int after) const;
  void Step();
  void Close();
  void KeepOpenBlock();
  void Emit(int first, int last);
  void ReadArrays();
  void EmitArrayEntry(const CLibString& chunk);

  CSearchEngine& m_engine;
  const CResultMarkers& m_markers;
  const char* m_page;
  uint16_t m_flags[kSlotCount] = {};
  int m_ends[kSlotCount] = {};  // where each marker last ended
  int m_pos = 0;                // the byte being read
  int m_endOfPageStart = -1;
  int m_lastLinkOpening = -1;  // the "<" of the last anchor tag seen
  int m_nextLength[2] = {};
  int m_state = 0;  // 0 outside a block, 1 in a block, 2 a closing marker seen
  int m_blockStart = -1;
  int m_contentStart = -1;  // past the block's start marker
  int m_blocks = 0;
  bool m_arrays = false;
  int m_arrayStart = -1;
};
