// CTkDockSplitter: the thin strip between two rows of a dock bar; dragging it changes the
// thickness of the row on its outer side. CTkDockLengthSplitter: the strip between two sizing
// bars of one row; dragging it moves the boundary between them. The dock bar makes them during
// its layout pass and hands them the mouse; while a drag runs an inverted line follows it over
// the frame, and only the release changes any size.
#pragma once
#include "framework/gdi/Gdi.h"

class CDC;
class CTkDockBar;

class CTkDockSplitter {
 public:
  // nOrientation: TKSPLIT_VERT (moves sideways) or TKSPLIT_HORZ (moves up and down); nIndex:
  // where the row starts in the dock bar's list (row splitter) or the bar before the boundary.
  CTkDockSplitter(CTkDockBar* pDockBar, const CRect& rect, int nOrientation, int nIndex);
  virtual ~CTkDockSplitter() = default;
  CTkDockSplitter(const CTkDockSplitter&) = delete;
  CTkDockSplitter& operator=(const CTkDockSplitter&) = delete;

  // The drag, with points in the dock bar's client coordinates (BeginTrack: screen). Each
  // returns FALSE when the line could not be drawn or erased.
  virtual BOOL TrackTo(CPoint point);
  virtual void BeginTrack(CPoint ptScreen);
  virtual BOOL EndTrack(CPoint point);
  virtual void ApplyPosition();
  virtual void InitTrackLimits();

  // The far end: the bottom of a vertical strip, the right of a horizontal one.
  void SetEnd(int nCoord);
  void Draw(CDC* pDC);
  // Inverts the tracking line on the frame; twice leaves the screen as it was.
  BOOL InvertTracker();

  const CRect& GetRect() const { return m_rect; }
  int GetOrientation() const { return m_nOrientation; }
  int GetIndex() const { return m_nIndex; }
  int GetStart() const { return m_nStart; }
  int GetCurrent() const { return m_nCurrent; }
  int GetLowest() const { return m_nLowest; }
  int GetHighest() const { return m_nHighest; }
  const CRect& GetTrackRect() const { return m_rectTrack; }

 protected:
  // The step clamped so the position stays within its limits.
  int Clamp(int nDelta) const;

  CRect m_rect;
  CRect m_rectTrack;
  CPoint m_ptLast;
  int m_nStart = 0, m_nCurrent = 0, m_nHighest = 0, m_nLowest = 0;
  int m_nOrientation;
  int m_nIndex;
  CTkDockBar* m_pDockBar;
};

class CTkDockLengthSplitter : public CTkDockSplitter {
 public:
  using CTkDockSplitter::CTkDockSplitter;
  ~CTkDockLengthSplitter() override = default;

  BOOL TrackTo(CPoint point) override;
  void ApplyPosition() override;
  void InitTrackLimits() override;
};
