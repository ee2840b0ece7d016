// The search form as a run shows it with banners on: a small frame holding the form on a
// document, a banner server in this process on the loopback (our own animated GIFs), and a run
// started. Not part of the product.
#include "ui/tools/ShowSearchFormBanner.h"

#include <cstdio>
#include <string>

#include "app/settings/SearchProperties.h"
#include "app/document/ZubrinDoc.h"
#include "app/run/RunCommands.h"
#include "app/run/UpdateBroadcast.h"
#include "engines/db/EngineList.h"
#include "framework/app/WinApp.h"
#include "framework/docview/DocTemplate.h"
#include "framework/frame/FrameWnd.h"
#include "resources/resource.h"
#include "tests/servers/BannerTestServer.h"
#include "ui/Panes.h"
#include "ui/views/SearchForm.h"
#include "ui/views/SearchFormBanner.h"

namespace {

class BannerFrame : public CFrameWnd {
  DECLARE_DYNCREATE(BannerFrame)
};
IMPLEMENT_DYNCREATE(BannerFrame, CFrameWnd)

}  // namespace

void ShowSearchFormBanner() {
  zbtest::BannerTestServer server;
  if (!server.Start()) {
    std::fprintf(stderr, "the banner server did not start\n");
    return;
  }
  server.SetDisplaySeconds(60);
  GetSearchProperties().m_nBannersOn = 1;

  // A document needs engines: two of them, in a folder of the tool's own.
  char temp[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "ZBShowSearchForm";
  ::CreateDirectoryA(folder.c_str(), nullptr);
  if (FILE* file = std::fopen((folder + "\\engines.dat").c_str(), "wb")) {
    std::fputs("[Alpha]\nenabled=1\n\n[Beta]\nenabled=1\n", file);
    std::fclose(file);
  }
  SetEngineDataFolder(folder.c_str());

  CWinApp app("ZBShowSearchForm");
  app.m_nCmdShow = SW_SHOWNORMAL;
  app.AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CZubrinDoc),
                                            RUNTIME_CLASS(BannerFrame), RUNTIME_CLASS(CSearchForm)));
  app.OnFileNew();
  CWnd* frame = app.m_pMainWnd;
  if (!frame) {
    std::fprintf(stderr, "no document window\n");
    return;
  }
  // The form reads the servers from the profile when it is made: this process's server instead.
  CNVList& servers = GetBannerServers();
  servers.RemoveAll();
  servers.SetAt("Server0", server.BaseUrl().c_str());
  frame->SetWindowText("Search form with a banner");
  frame->SetWindowPos(nullptr, 100, 100, 520, 150, SWP_NOZORDER);
  BroadcastUpdate(HINT_RUN_SET_UP, 0);
  BroadcastUpdate(HINT_RUN_START, 0);
  HWND window = frame->m_hWnd;
  MSG msg;
  while (::IsWindow(window) && ::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}
