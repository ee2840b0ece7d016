// ScrollingTextCtrl: a static-style window that scrolls text lines upwards, line after line and
// around again, as credits roll. A line's last character picks its style (three text styles and
// a picture line naming a bitmap resource; any other character is plain text); a line holding
// "<STOP>" stops the scrolling. The background is a solid colour, a horizontal gradient, or a
// tiled picture. Driven by timer 150; nothing scrolls until Start.
#pragma once
#include <windows.h>

#include <vector>

#include "framework/core/String.h"
#include "framework/wnd/Wnd.h"

class ScrollingTextCtrl : public CWnd {
 public:
  static constexpr UINT_PTR kTimerId = 150;
  static constexpr UINT kDefaultInterval = 30;  // ms per tick

  // Styles by a line's last character; plain lines have none.
  enum Style { kPlain = 0, kStyle1 = 1, kStyle2 = 2, kStyle3 = 3, kPicture = 4 };

  // How a line is drawn: what its font and colour are made from.
  struct LineStyle {
    Style style;
    const char* face;
    int height;  // as given to the font (negative: character height)
    int weight;
    COLORREF colour;
    CString text;  // the line without its marker (for a picture line: the bitmap's name)
  };

  ScrollingTextCtrl();
  ~ScrollingTextCtrl() override;

  // A child (or, with WS_POPUP or WS_OVERLAPPED, a top-level) window.
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0,
              LPCSTR lpszTitle = nullptr);

  void AddLine(LPCSTR line);
  void RemoveAllLines();
  int GetLineCount() const { return static_cast<int>(m_lines.size()); }

  void Start(UINT interval = kDefaultInterval);
  // Kills the timer, clears the running flag and drops the cached text layer.
  void Stop();
  BOOL IsRunning() const { return m_bRunning; }

  // Colours of the background and of plain lines and styles 1 to 3.
  void SetColours(COLORREF background, COLORREF plain, COLORREF style1, COLORREF style2, COLORREF style3);
  // Font heights of plain lines and styles 1 to 3 (as for a font; negative is the character height).
  void SetFontHeights(int plain, int style1, int style2, int style3);
  void SetMarkers(char style1, char style2, char style3, char picture);
  // Pixels per tick; the sign gives the direction.
  void SetScrollStep(int step) { m_nStep = step; }
  // 0 none; 1 colour to black, 2 colour to white, 3 black to colour, 4 white to colour.
  void SetGradient(int mode) { m_nGradient = (mode >= 0 && mode <= 4) ? mode : 0; }
  // A picture tiled behind the text (the control does not own it); with greyTransparent the text
  // layer's grey (192, 192, 192) lets it show through instead of the background colour.
  void SetBackgroundPicture(HBITMAP picture, BOOL greyTransparent);

  LineStyle GetLineStyle(const CString& line, BOOL fullRepaint) const;
  // Ticks (and pixels at a step of 1) a line of this style takes to come in: the absolute font
  // height, at least 1.
  int GetLineTicks(Style style) const;

  // Where the scrolling stands.
  const CString& GetCurrentLine() const { return m_strCurrent; }
  int GetPosition() const { return m_nPosition; }
  BOOL IsFirstPass() const { return m_bFirstPass; }
  BOOL IsPictureScrolling() const { return m_bPictureScrolling; }
  int GetBandWidth() const { return m_nBandWidth; }

 protected:
  void OnTimer(UINT_PTR nIDEvent);
  void OnPaint();
  BOOL OnEraseBkgnd(CDC* pDC);
  void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  void Tick();
  void NextLine();
  void DrawStep(const RECT& client);
  void DrawPictureStep(HDC layer, const RECT& client, int step);
  void DrawTextStep(HDC layer, const RECT& client, const LineStyle& style);
  void FullRepaint();
  void Composite(HDC target, const RECT& client);
  void FillBackground(HDC dc, const RECT& area, const RECT& client) const;
  COLORREF LayerKeyColour() const;
  HFONT MakeFont(const LineStyle& style) const;
  bool EnsureLayer(const RECT& client);
  void DropLayer();
  void DropPicture();
  bool LoadPicture(const CString& name);

  std::vector<CString> m_lines;
  int m_nPosition = 0;  // the next line to bring in
  BOOL m_bFirstPass = TRUE;
  CString m_strCurrent;
  int m_nTick = 0;
  int m_nOffset = 0;
  int m_nStep = -1;

  COLORREF m_crBackground, m_crPlain, m_crStyle1, m_crStyle2, m_crStyle3;
  int m_nPlainHeight, m_nHeight1, m_nHeight2, m_nHeight3;
  char m_chStyle1, m_chStyle2, m_chStyle3, m_chPicture;
  int m_nGradient = 0;

  HBITMAP m_hBackPicture = nullptr;
  SIZE m_sizeBackPicture = {0, 0};
  BOOL m_bGreyTransparent = FALSE;

  HBITMAP m_hLayer = nullptr;
  SIZE m_sizeLayer = {0, 0};
  HBITMAP m_hPicture = nullptr;
  HBITMAP m_hPictureMask = nullptr;
  SIZE m_sizePicture = {0, 0};
  POINT m_ptPicture = {0, 0};
  BOOL m_bPictureScrolling = FALSE;

  int m_nBandWidth = 0;
  BOOL m_bRunning = FALSE;
};

// The colour of band 0 to 255 of a gradient from colour c (modes 1 to 4, per channel).
COLORREF GradientBandColour(int mode, COLORREF c, int band);
