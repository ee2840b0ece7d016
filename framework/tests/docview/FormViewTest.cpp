// A form view as a document template makes it: the frame's one view, built from a dialog
// template of the program, joined to the document, its fields filled through data exchange.
// Real windows under the X display.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "framework/docview/Document.h"
#include "framework/app/WinApp.h"
#include "framework/dialogs/DataExchange.h"
#include "framework/docview/DocTemplate.h"
#include "framework/docview/FormView.h"
#include "framework/frame/FrameWnd.h"
#include "framework/tests/docview/FormViewTestIds.h"
#include "framework/tests/frame/FrameTestIds.h"

namespace {

class NoteDoc : public CDocument {
  DECLARE_DYNCREATE(NoteDoc)
};
IMPLEMENT_DYNCREATE(NoteDoc, CDocument)

class NoteForm : public CFormView {
  DECLARE_DYNCREATE(NoteForm)
 public:
  NoteForm() : CFormView(IDD_TEST_FORM) {}
  explicit NoteForm(UINT nIDTemplate) : CFormView(nIDTemplate) {}
  ~NoteForm() override { ++s_destroyed; }
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, IDC_TEST_NAME, m_name);
    DDX_Text(pDX, IDC_TEST_NOTE, m_note);
  }
  BOOL OnInitDialog() override {
    ++m_inits;
    m_controlsAtInit = ::GetDlgItem(m_hWnd, IDC_TEST_NOTE) != nullptr;
    return FALSE;
  }
  void OnInitialUpdate() override {
    m_name = "first";
    m_note = "second";
    CFormView::OnInitialUpdate();
  }
  CString m_name, m_note;
  int m_inits = 0;
  bool m_controlsAtInit = false;
  static int s_destroyed;
};
int NoteForm::s_destroyed = 0;
IMPLEMENT_DYNCREATE(NoteForm, CFormView)

std::string Text(HWND wnd) {
  char text[256] = {};
  ::GetWindowTextA(wnd, text, sizeof text);
  return text;
}

class FormViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_app = std::make_unique<CWinApp>("FwFormViewTest");
    m_app->m_nCmdShow = SW_SHOWNORMAL;
    m_app->AddDocTemplate(new CSingleDocTemplate(IDR_TEST_FRAME, RUNTIME_CLASS(NoteDoc),
                                                 RUNTIME_CLASS(CFrameWnd), RUNTIME_CLASS(NoteForm)));
    m_app->OnFileNew();
    m_frame = static_cast<CFrameWnd*>(m_app->m_pMainWnd);
    ASSERT_NE(m_frame, nullptr);
    m_hFrame = m_frame->m_hWnd;
    m_form = dynamic_cast<NoteForm*>(m_frame->GetActiveView());
    ASSERT_NE(m_form, nullptr);
    ::SetForegroundWindow(m_hFrame);
    ::SetActiveWindow(m_hFrame);
  }
  void TearDown() override {
    if (::IsWindow(m_hFrame)) ::DestroyWindow(m_hFrame);
    m_app.reset();
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  HWND Field(int id) { return ::GetDlgItem(m_form->m_hWnd, id); }

  std::unique_ptr<CWinApp> m_app;
  CFrameWnd* m_frame = nullptr;
  HWND m_hFrame = nullptr;
  NoteForm* m_form = nullptr;
};

// The view is the template's dialog, placed as the frame's pane and joined to the document.
TEST_F(FormViewTest, TheViewIsTheTemplateMadeAChildPaneOfTheFrame) {
  EXPECT_EQ(::GetParent(m_form->m_hWnd), m_hFrame);
  EXPECT_EQ(::GetDlgCtrlID(m_form->m_hWnd), AFX_IDW_PANE_FIRST);
  EXPECT_TRUE(m_form->GetStyle() & WS_CHILD);
  EXPECT_FALSE(m_form->GetStyle() & (WS_POPUP | WS_DLGFRAME)) << "no caption, not a popup";
  EXPECT_TRUE(m_form->GetStyle() & WS_BORDER) << "the frame asks its view for a border";
  EXPECT_TRUE(::IsWindowVisible(m_form->m_hWnd));
  EXPECT_EQ(m_form->m_inits, 1);
  EXPECT_TRUE(m_form->m_controlsAtInit) << "OnInitDialog runs once the controls exist";
  CDocument* doc = m_frame->GetActiveDocument();
  ASSERT_NE(doc, nullptr);
  POSITION pos = doc->GetFirstViewPosition();
  EXPECT_EQ(doc->GetNextView(pos), m_form);
  // The frame lays its view out over the client area.
  CRect client, view;
  m_frame->GetClientRect(&client);
  m_form->GetWindowRect(&view);
  EXPECT_EQ(view.Width(), client.Width());
  EXPECT_EQ(view.Height(), client.Height());
}

// The first update writes the members into the fields; UpdateData(TRUE) reads them back.
TEST_F(FormViewTest, DataExchangeRunsBothWays) {
  EXPECT_EQ(Text(Field(IDC_TEST_NAME)), "first");
  EXPECT_EQ(Text(Field(IDC_TEST_NOTE)), "second");
  ::SetWindowTextA(Field(IDC_TEST_NOTE), "typed");
  ASSERT_TRUE(m_form->UpdateData(TRUE));
  EXPECT_EQ(m_form->m_note, CString("typed"));
  EXPECT_EQ(m_form->m_name, CString("first"));
}

// The focus given to the form goes on to a field: the first one, later the one that had it.
TEST_F(FormViewTest, TheFocusGoesToTheFieldThatHadIt) {
  ::SetFocus(m_form->m_hWnd);
  EXPECT_EQ(::GetFocus(), Field(IDC_TEST_NAME));
  ::SetFocus(Field(IDC_TEST_NOTE));
  m_form->OnActivateView(FALSE, nullptr, m_form);
  ::SetFocus(m_hFrame);
  ::SetFocus(m_form->m_hWnd);
  EXPECT_EQ(::GetFocus(), Field(IDC_TEST_NOTE));
}

// Tab and Shift+Tab move between the fields as in a dialog.
TEST_F(FormViewTest, TabMovesBetweenTheFields) {
  ::SetFocus(Field(IDC_TEST_NAME));
  MSG tab = {Field(IDC_TEST_NAME), WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
  EXPECT_TRUE(m_form->PreTranslateMessage(&tab));
  EXPECT_EQ(::GetFocus(), Field(IDC_TEST_NOTE));
  // Keys of other windows are not the form's.
  MSG other = {m_hFrame, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
  EXPECT_FALSE(m_form->PreTranslateMessage(&other));
}

// Without its template there is no window, and the object cleans up after itself as any window
// whose creation failed: the frame and the splitter never delete it a second time.
TEST_F(FormViewTest, AMissingTemplateFailsWithoutAWindow) {
  auto* form = new NoteForm(IDD_TEST_MISSING);
  int destroyed = NoteForm::s_destroyed;
  CRect rect(0, 0, 100, 50);
  EXPECT_FALSE(form->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect, m_frame, 5, nullptr));
  EXPECT_EQ(NoteForm::s_destroyed, destroyed + 1);
}

}  // namespace
