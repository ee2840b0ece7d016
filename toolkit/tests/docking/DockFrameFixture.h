// A toolkit frame with dock bars on its four edges, for the dock bar window tests: bars are
// docked, then put into rows by hand, and the frame laid out.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <ostream>
#include <vector>

#include "toolkit/docking/TkDockBar.h"
#include "toolkit/frame/TkFrameWnd.h"

// Rectangles and sizes as numbers in failure messages.
inline void PrintTo(const CRect& r, std::ostream* os) {
  *os << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
}
inline void PrintTo(const CSize& s, std::ostream* os) {
  *os << s.cx << "x" << s.cy;
}

namespace docktest {

using Rows = std::vector<std::vector<CControlBar*>>;

class DockFrameTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Creates the frame (client size 600 x 400) with dock bars on every edge; beforeDocking may
  // put dock bars of its own in place first.
  void MakeFrame(const std::function<void()>& beforeDocking = {});
  CTkDockBar* Dock(UINT nID) const;
  // Docks every bar on the edge, then sets the rows as given and lays the frame out until the
  // rows are shared out for good.
  void Arrange(UINT nDockID, const Rows& rows);
  void Layout();
  // The bar's place in its dock bar's client coordinates.
  static CRect Placed(CControlBar* pBar);
  // The dock bar's rows as bar ids (hidden bars included, placeholders left out).
  static std::vector<std::vector<UINT>> RowIds(CTkDockBar* pDock);
  // A splitter drag by mouse messages from the point (dock bar client coordinates); ends with
  // the release, or with IDCANCEL when cancel is set. FALSE when no splitter was hit.
  BOOL Drag(CTkDockBar* pDock, CPoint from, CSize by, BOOL cancel = FALSE);

  CTkFrameWnd* m_frame = nullptr;
  CSize m_client;
};

}  // namespace docktest
