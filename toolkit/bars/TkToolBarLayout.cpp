#include "toolkit/bars/TkToolBarLayout.h"

#include <algorithm>

namespace {

bool IsHidden(const TBBUTTON& b) { return (b.fsState & TBSTATE_HIDDEN) != 0; }
bool Wraps(const TBBUTTON& b) { return (b.fsState & TBSTATE_WRAP) != 0; }

// Marks a button as the end of its row.
void MarkWrap(TBBUTTON& b) { b.fsState |= TBSTATE_WRAP; }

}  // namespace

SIZE TkGetButtonSize(const TBBUTTON* buttons, const SIZE* sizes, int index) {
  SIZE size = sizes[index];
  if ((buttons[index].fsStyle & TBSTYLE_SEP) && Wraps(buttons[index])) {
    size.cy = size.cx;
    size.cx = 0;
  }
  return size;
}

int TkWrapToolBar(TBBUTTON* buttons, const SIZE* sizes, int count, int width) {
  int rows = 0;
  int x = 0;
  for (int i = 0; i < count; ++i) {
    buttons[i].fsState &= ~TBSTATE_WRAP;
    if (IsHidden(buttons[i])) continue;
    int dx = TkGetButtonSize(buttons, sizes, i).cx;
    if (x + dx <= width) {
      x += dx;
      continue;
    }
    // The row is full: break it at the last plain separator in it, failing that before the
    // last button that may end a row (a control's placeholder may not: its control would be
    // left hanging at the end of the row above).
    bool found = false;
    for (int j = i; j >= 0 && !Wraps(buttons[j]); --j) {
      if (TkIsPlainSeparator(buttons[j]) && !IsHidden(buttons[j])) {
        MarkWrap(buttons[j]);
        i = j;
        found = true;
        break;
      }
    }
    for (int j = i - 1; !found && j >= 0 && !Wraps(buttons[j]); --j) {
      if (IsHidden(buttons[j]) || TkIsPlaceholder(buttons[j])) continue;
      MarkWrap(buttons[j]);
      i = j;
      found = true;
    }
    if (found) {
      ++rows;
      x = 0;  // the loop goes on with the button after the wrap
    } else {
      x += dx;
    }
  }
  return rows + 1;
}

SIZE TkCalcSize(const TBBUTTON* buttons, const SIZE* sizes, int count) {
  SIZE result = {0, 0};
  int x = 0, top = 0, rowHeight = 0;
  for (int i = 0; i < count; ++i) {
    if (IsHidden(buttons[i])) continue;
    SIZE size = TkGetButtonSize(buttons, sizes, i);
    x += size.cx;
    rowHeight = std::max(rowHeight, static_cast<int>(size.cy));
    result.cx = std::max(result.cx, static_cast<LONG>(x));
    result.cy = std::max(result.cy, static_cast<LONG>(top + rowHeight));
    if (Wraps(buttons[i])) {
      // A separator that ends a row is the gap below it: its own height in the layout.
      int gap = (buttons[i].fsStyle & TBSTYLE_SEP) ? size.cy : 0;
      top += rowHeight + gap;
      x = 0;
      rowHeight = 0;
    }
  }
  return result;
}

void TkSizeToolBar(TBBUTTON* buttons, const SIZE* sizes, int count, int length, bool vertical) {
  if (!vertical) {
    if (length == kTkNoWrap) {
      TkWrapToolBar(buttons, sizes, count, kTkNoWrap);
    } else {
      // The narrowest width with as many rows as the length gives: rows of even length rather
      // than a full first row and a short last one.
      int high = length;
      int target = TkWrapToolBar(buttons, sizes, count, high);
      int low = 0;
      if (TkWrapToolBar(buttons, sizes, count, low) != target) {
        while (low < high) {
          int mid = (low + high) / 2;
          if (TkWrapToolBar(buttons, sizes, count, mid) == target) {
            high = mid;
          } else if (low == mid) {
            TkWrapToolBar(buttons, sizes, count, high);
            break;
          } else {
            low = mid;
          }
        }
      }
    }
    SIZE size = TkCalcSize(buttons, sizes, count);
    TkWrapToolBar(buttons, sizes, count, size.cx);
    return;
  }
  TkWrapToolBar(buttons, sizes, count, 0);
  SIZE minSize = TkCalcSize(buttons, sizes, count);
  TkWrapToolBar(buttons, sizes, count, kTkNoWrap);
  SIZE maxSize = TkCalcSize(buttons, sizes, count);
  while (minSize.cx < maxSize.cx) {
    int midWidth = (minSize.cx + maxSize.cx) / 2;
    TkWrapToolBar(buttons, sizes, count, midWidth);
    SIZE mid = TkCalcSize(buttons, sizes, count);
    if (length < mid.cy) {
      if (mid.cx == minSize.cx && mid.cy == minSize.cy) {
        TkWrapToolBar(buttons, sizes, count, maxSize.cx);
        return;
      }
      minSize = mid;
    } else if (length > mid.cy) {
      maxSize = mid;
    } else {
      return;
    }
  }
}

bool TkHideButtonsToFit(TBBUTTON* buttons, const SIZE* sizes, int count, int oldLength,
                        int newLength, std::map<int, int>& hidden, TkMeasureFn measure,
                        void* context) {
  int visible = 0;
  for (int i = 0; i < count; ++i)
    if (!IsHidden(buttons[i])) ++visible;
  if (visible == 0 || (hidden.empty() && newLength >= oldLength)) return false;
  // A bar that still fits keeps all its buttons: the chevron's room is only kept once a button
  // has to go.
  if (hidden.empty() && measure(buttons, sizes, count, context) <= newLength) return false;
  bool any = false;
  for (int i = count - 1; i >= 0 && visible > 1; --i) {
    if (IsHidden(buttons[i])) continue;
    if (measure(buttons, sizes, count, context) <= newLength - kTkChevronAllowance) break;
    buttons[i].fsState |= TBSTATE_HIDDEN;
    hidden[i] = sizes[i].cx;
    --visible;
    any = true;
  }
  return any;
}

int TkShowButtonsThatFit(TBBUTTON* buttons, const SIZE* sizes, int count, int oldLength,
                         int newLength, std::map<int, int>& hidden, TkMeasureFn measure,
                         void* context) {
  if (hidden.empty()) return oldLength;
  int available = newLength - (hidden.size() > 1 ? kTkChevronAllowance : 0);
  int measured = oldLength;
  for (auto it = hidden.begin(); it != hidden.end();) {
    int i = it->first;
    if (i >= count) {
      it = hidden.erase(it);
      continue;
    }
    buttons[i].fsState &= ~TBSTATE_HIDDEN;
    measured = measure(buttons, sizes, count, context);
    if (measured > available) {
      buttons[i].fsState |= TBSTATE_HIDDEN;
      break;
    }
    it = hidden.erase(it);
  }
  return hidden.empty() ? measured : newLength;
}
