// CHtmlCtrl: a web view without a framework: a "CCustomHtmlCtrl" child window on the window layer that holds
// the platform's WebBrowser object, in-place activated inside it, with our own site (CHtmlHostSite, made by
// CHtmlHostSiteOccManager::CreateSite and answering through the given CHtmlHostHandler) and an event sink
// on its DWebBrowserEvents2 (BrowserEventSink.h). It calls the shown page's script by name (CHtmlScript).
//
// Documents: the document, its script object, title and the body's width and height are taken anew on each
// top-level NavigateComplete2 and DocumentComplete (never from a sub-frame, whose script is not the page's),
// so a script call never reaches a page that has gone; a top-level BeforeNavigate2 drops the script object
// at once. A script call made while there is none is made when the next one arrives (CHtmlScript.h).
//
// Window messages: WM_CREATE runs OnViewCreated (0 fails the creation); WM_DESTROY runs OnViewDestroyed,
// releases the browser (unadvised, closed, its site cut off from the handler) and destroys the window
// normally; WM_SIZE places the browser's window at (0, 0) with the new size; WM_MOUSEACTIVATE gets the
// plain window handling (no view activation).
//
// Seams for tests: the browser calls of Navigate (busy, stop, navigate), the document reads and the
// top-level test are virtual.
//
// Requirements: OLE is initialised on the calling thread (OleInitialize; the launcher's start-up does it);
// without it the browser object cannot be made and Create fails.
//
// Destruction: the destructor destroys the window; a derived class whose hooks matter then destroys it in
// its own destructor.
//
// Thread: user-interface thread only (the browser object is apartment-threaded).
#pragma once

#include <windows.h>
// After windows.h, which they need.
#include <exdisp.h>
#include <oleidl.h>

#include <cstdint>
#include <memory>
#include <string>

#include "ui/browser/BrowserEventSink.h"
#include "ui/browser/CHtmlHostHandler.h"
#include "ui/browser/CHtmlHostSiteOccManager.h"
#include "ui/browser/CHtmlScript.h"
#include "ui/browser/ComPtr.h"
#include "ui/host/Window.h"

// What is read from a shown document.
struct HtmlDocumentReading {
  ComPtr<IDispatch> document;
  ComPtr<IDispatch> script;
  std::wstring title;
  std::wstring body_width;  // the body style's width text ("640px"), empty when none
  std::wstring body_height;
};

class CHtmlCtrl : public Window, public CHtmlScript, public BrowserEventReceiver {
 public:
  // The window class of the view.
  static const wchar_t kWindowClass[];

  CHtmlCtrl() = default;
  ~CHtmlCtrl() override;

  // Stores `handler` (not owned; it must outlive the window), drops any document, then makes the window
  // (class kWindowClass, child, not visible, `rect` in `parent`, control id `id`) and the browser filling its
  // client area. 1 on success; 0 (nothing left: no window, no browser) when the window, the browser object,
  // its in-place activation or the event advise failed.
  int32_t Create(CHtmlHostHandler* handler, const RECT& rect, HWND parent, int32_t id);
  // An empty or null url does nothing; a busy browser is stopped first; then the browser navigates to url
  // (no flags, target, headers or post data). 1 when the browser took the navigation.
  int32_t Navigate(const wchar_t* url);
  // A command text from a page: the handler's OnScriptCommand with the text's leading integer and the text
  // after its first "@" (" " when there is none).
  virtual void OnAppCommand(const wchar_t* text);

  // Framework events (sub-frame events have top_level false). The base: BeforeNavigate2 drops the script
  // object of a top-level navigation; NavigateComplete2 and DocumentComplete take the document anew (see
  // above; DocumentComplete then reads the title and body size and calls the handler's OnDocumentReady);
  // NavigateError sets cancel to FALSE, so the browser shows its own error page.
  virtual void OnBeforeNavigate2(const wchar_t* url,
                                 const wchar_t* target_frame,
                                 bool top_level,
                                 BOOL* cancel);
  virtual void OnNavigateComplete2(const wchar_t* url, bool top_level);
  virtual void OnDocumentComplete(const wchar_t* url, bool top_level);
  virtual void OnNavigateError(const wchar_t* url, const wchar_t* target_frame, int32_t status, BOOL* cancel);

  IWebBrowser2* browser() const { return browser_.get(); }
  // The browser object's own window inside the view; null when there is none.
  HWND BrowserWindow() const;
  CHtmlHostHandler* host_handler() const { return handler_; }
  CHtmlHostSiteOccManager* site_manager() const { return site_manager_.get(); }
  IDispatch* document() const { return document_.get(); }
  const std::wstring& title() const { return title_; }
  int32_t content_width() const { return content_width_; }
  int32_t content_height() const { return content_height_; }
  int32_t is_control() const { return is_control_; }
  // The event sink while advised (tests drive it as the browser would).
  IDispatch* event_sink() const { return sink_.get(); }

 protected:
  LRESULT WindowProcedure(UINT message, WPARAM wparam, LPARAM lparam) override;
  // The window's creation (inside WM_CREATE); 0 fails it. The base answers 1.
  virtual int32_t OnViewCreated() { return 1; }
  // The window's destruction (first in WM_DESTROY).
  virtual void OnViewDestroyed() {}

  // Seams: the browser calls of Navigate and the document reads.
  virtual bool BrowserBusy();
  virtual void BrowserStop();
  virtual HRESULT BrowserNavigate(const wchar_t* url);
  virtual HRESULT ReadDocument(HtmlDocumentReading* out);
  // True when `frame` is the browser itself rather than one of its sub-frames.
  virtual bool IsTopLevelFrame(IDispatch* frame);

 private:
  // BrowserEventReceiver: the sink's decoded events, passed to the framework events above.
  void OnBrowserBeforeNavigate(IDispatch* frame,
                               const wchar_t* url,
                               const wchar_t* target_frame,
                               BOOL* cancel) override;
  void OnBrowserNavigateComplete(IDispatch* frame, const wchar_t* url) override;
  void OnBrowserDocumentComplete(IDispatch* frame, const wchar_t* url) override;
  void OnBrowserNavigateError(IDispatch* frame,
                              const wchar_t* url,
                              const wchar_t* target_frame,
                              int32_t status,
                              BOOL* cancel) override;

  bool CreateBrowser();
  void ReleaseBrowser();
  void ReleaseDocument();
  // Takes the shown document anew; false (and nothing cached) when it cannot be read.
  bool TakeDocument(HtmlDocumentReading* reading);

  CHtmlHostHandler* handler_ = nullptr;
  std::unique_ptr<CHtmlHostSiteOccManager> site_manager_;
  ComPtr<IOleObject> browser_object_;
  ComPtr<IOleInPlaceObject> in_place_;
  ComPtr<IWebBrowser2> browser_;
  ComPtr<BrowserEventSink> sink_;
  ComPtr<IConnectionPoint> connection_;
  DWORD sink_cookie_ = 0;
  ComPtr<IDispatch> document_;
  std::wstring title_;
  int32_t content_width_ = 0;
  int32_t content_height_ = 0;
  int32_t is_control_ = 0;
};
