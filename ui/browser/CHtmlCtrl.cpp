#include "ui/browser/CHtmlCtrl.h"

#include <mshtml.h>
#include <ocidl.h>
#include <oleauto.h>

#include <cwchar>

#include "ui/base/NumberText.h"

namespace {

// The id the browser's window gets inside the view (the framework's first pane).
const int kFirstPaneId = 0xE900;

// A BSTR owned for the length of a call.
class Bstr {
 public:
  explicit Bstr(const wchar_t* text) : value_(SysAllocString(text)) {}
  Bstr() = default;
  ~Bstr() { SysFreeString(value_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR get() const { return value_; }
  BSTR* Receive() {
    SysFreeString(value_);
    value_ = nullptr;
    return &value_;
  }
  std::wstring Text() const { return value_ != nullptr ? std::wstring(value_, SysStringLen(value_)) : L""; }

 private:
  BSTR value_ = nullptr;
};

// A style length (text such as "640px", or a number) as text.
std::wstring StyleText(VARIANT& value) {
  std::wstring text;
  if (value.vt == VT_BSTR && value.bstrVal != nullptr)
    text.assign(value.bstrVal, SysStringLen(value.bstrVal));
  else if (value.vt == VT_I4)
    text = std::to_wstring(value.lVal);
  VariantClear(&value);
  return text;
}

}  // namespace

const wchar_t CHtmlCtrl::kWindowClass[] = L"CCustomHtmlCtrl";

CHtmlCtrl::~CHtmlCtrl() {
  DestroyNativeWindow();
  ReleaseBrowser();
}

int32_t CHtmlCtrl::Create(CHtmlHostHandler* handler, const RECT& rect, HWND parent, int32_t id) {
  if (window_handle() != nullptr)
    return 0;
  handler_ = handler;
  ReleaseDocument();
  is_control_ = 1;
  if (!site_manager_)
    site_manager_.reset(new (std::nothrow) CHtmlHostSiteOccManager(handler));
  if (!site_manager_)
    return 0;
  const wchar_t* window_class =
      RegisterWindowClass(kWindowClass, CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW), 0);
  if (!CreateNativeWindow(0, window_class, L"", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, rect, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id))))
    return 0;
  if (!CreateBrowser()) {
    DestroyNativeWindow();
    ReleaseBrowser();
    return 0;
  }
  return 1;
}

bool CHtmlCtrl::CreateBrowser() {
  HWND window = window_handle();
  if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                              browser_object_.ReceiveVoid())))
    return false;
  CHtmlHostSite* site = site_manager_->CreateSite(window);
  if (site == nullptr || FAILED(browser_object_->SetClientSite(site)))
    return false;
  RECT client = {};
  GetClientRect(window, &client);
  if (FAILED(browser_object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site, 0, window, &client)))
    return false;
  in_place_ = browser_object_.As<IOleInPlaceObject>();
  browser_ = browser_object_.As<IWebBrowser2>();
  if (!browser_)
    return false;
  ComPtr<IConnectionPointContainer> points = browser_.As<IConnectionPointContainer>();
  if (!points || FAILED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, connection_.Receive())))
    return false;
  sink_ = ComPtr<BrowserEventSink>(BrowserEventSink::Make(this));
  if (!sink_ || FAILED(connection_->Advise(static_cast<IDispatch*>(sink_.get()), &sink_cookie_)))
    return false;
  if (HWND inner = BrowserWindow())
    SetWindowLongPtrW(inner, GWLP_ID, kFirstPaneId);
  return true;
}

void CHtmlCtrl::ReleaseBrowser() {
  if (sink_)
    sink_->Detach();
  if (connection_ && sink_cookie_ != 0)
    connection_->Unadvise(sink_cookie_);
  sink_cookie_ = 0;
  connection_.Reset();
  sink_.Reset();
  if (in_place_)
    in_place_->InPlaceDeactivate();
  in_place_.Reset();
  if (browser_object_) {
    browser_object_->Close(OLECLOSE_NOSAVE);
    browser_object_->SetClientSite(nullptr);
  }
  browser_.Reset();
  browser_object_.Reset();
  // The browser may still hold the site: from now on it answers without us.
  if (site_manager_)
    site_manager_->DetachSites();
  ReleaseDocument();
  SetScriptDispatch(nullptr);
}

void CHtmlCtrl::ReleaseDocument() {
  document_.Reset();
  title_.clear();
  content_width_ = 0;
  content_height_ = 0;
}

HWND CHtmlCtrl::BrowserWindow() const {
  HWND inner = nullptr;
  if (!in_place_ || FAILED(in_place_->GetWindow(&inner)))
    return nullptr;
  return inner;
}

int32_t CHtmlCtrl::Navigate(const wchar_t* url) {
  if (url == nullptr || *url == L'\0')
    return 0;
  if (BrowserBusy())
    BrowserStop();
  return SUCCEEDED(BrowserNavigate(url)) ? 1 : 0;
}

void CHtmlCtrl::OnAppCommand(const wchar_t* text) {
  if (handler_ == nullptr || text == nullptr)
    return;
  const wchar_t* at = std::wcschr(text, L'@');
  handler_->OnScriptCommand(TextToInt32(text), at != nullptr ? at + 1 : L" ");
}

bool CHtmlCtrl::BrowserBusy() {
  VARIANT_BOOL busy = VARIANT_FALSE;
  return browser_ && SUCCEEDED(browser_->get_Busy(&busy)) && busy != VARIANT_FALSE;
}

void CHtmlCtrl::BrowserStop() {
  if (browser_)
    browser_->Stop();
}

HRESULT CHtmlCtrl::BrowserNavigate(const wchar_t* url) {
  if (!browser_)
    return E_FAIL;
  Bstr target(url);
  if (target.get() == nullptr)
    return E_OUTOFMEMORY;
  VARIANT none;
  VariantInit(&none);
  return browser_->Navigate(target.get(), &none, &none, &none, &none);
}

HRESULT CHtmlCtrl::ReadDocument(HtmlDocumentReading* out) {
  if (!browser_)
    return E_FAIL;
  ComPtr<IDispatch> document;
  HRESULT hr = browser_->get_Document(document.Receive());
  if (FAILED(hr) || !document)
    return FAILED(hr) ? hr : E_FAIL;
  ComPtr<IHTMLDocument2> html = document.As<IHTMLDocument2>();
  if (!html)
    return E_NOINTERFACE;
  out->document = std::move(document);
  html->get_Script(out->script.Receive());
  Bstr title;
  if (SUCCEEDED(html->get_title(title.Receive())))
    out->title = title.Text();
  ComPtr<IHTMLElement> body;
  ComPtr<IHTMLStyle> style;
  if (SUCCEEDED(html->get_body(body.Receive())) && body && SUCCEEDED(body->get_style(style.Receive())) &&
      style) {
    VARIANT width;
    VARIANT height;
    VariantInit(&width);
    VariantInit(&height);
    if (SUCCEEDED(style->get_width(&width)))
      out->body_width = StyleText(width);
    if (SUCCEEDED(style->get_height(&height)))
      out->body_height = StyleText(height);
  }
  return S_OK;
}

bool CHtmlCtrl::IsTopLevelFrame(IDispatch* frame) {
  if (frame == nullptr || !browser_)
    return false;
  // COM identity: the same object answers IUnknown with the same pointer.
  ComPtr<IUnknown> frame_identity;
  ComPtr<IUnknown> browser_identity;
  frame->QueryInterface(IID_IUnknown, frame_identity.ReceiveVoid());
  browser_->QueryInterface(IID_IUnknown, browser_identity.ReceiveVoid());
  return frame_identity && frame_identity.get() == browser_identity.get();
}

bool CHtmlCtrl::TakeDocument(HtmlDocumentReading* reading) {
  ReleaseDocument();
  if (FAILED(ReadDocument(reading)) || !reading->document)
    return false;
  document_ = ComPtr<IDispatch>::Share(reading->document.get());
  return true;
}

void CHtmlCtrl::OnBeforeNavigate2(const wchar_t*, const wchar_t*, bool top_level, BOOL*) {
  // The page that is leaving must get no more calls; a sub-frame's navigation leaves the page's script.
  if (top_level)
    SetScriptDispatch(nullptr);
}

void CHtmlCtrl::OnNavigateComplete2(const wchar_t*, bool top_level) {
  if (!top_level)
    return;
  HtmlDocumentReading reading;
  if (TakeDocument(&reading))
    SetScriptDispatch(reading.script.get());
}

void CHtmlCtrl::OnDocumentComplete(const wchar_t*, bool top_level) {
  if (!top_level)
    return;
  HtmlDocumentReading reading;
  if (!TakeDocument(&reading))
    return;
  SetScriptDispatch(reading.script.get());
  title_ = reading.title;
  content_width_ = TextToInt32(reading.body_width.c_str());
  content_height_ = TextToInt32(reading.body_height.c_str());
  if (handler_ != nullptr)
    handler_->OnDocumentReady();
}

void CHtmlCtrl::OnNavigateError(const wchar_t*, const wchar_t*, int32_t, BOOL* cancel) {
  if (cancel != nullptr)
    *cancel = FALSE;
}

void CHtmlCtrl::OnBrowserBeforeNavigate(IDispatch* frame,
                                        const wchar_t* url,
                                        const wchar_t* target_frame,
                                        BOOL* cancel) {
  OnBeforeNavigate2(url != nullptr ? url : L"", target_frame, IsTopLevelFrame(frame), cancel);
}

void CHtmlCtrl::OnBrowserNavigateComplete(IDispatch* frame, const wchar_t* url) {
  OnNavigateComplete2(url != nullptr ? url : L"", IsTopLevelFrame(frame));
}

void CHtmlCtrl::OnBrowserDocumentComplete(IDispatch* frame, const wchar_t* url) {
  OnDocumentComplete(url != nullptr ? url : L"", IsTopLevelFrame(frame));
}

void CHtmlCtrl::OnBrowserNavigateError(IDispatch* frame,
                                       const wchar_t* url,
                                       const wchar_t* target_frame,
                                       int32_t status,
                                       BOOL* cancel) {
  (void)frame;
  OnNavigateError(url != nullptr ? url : L"", target_frame, status, cancel);
}

LRESULT CHtmlCtrl::WindowProcedure(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      if (DefaultProcessing(message, wparam, lparam) == -1)
        return -1;
      return OnViewCreated() ? 0 : -1;
    case WM_DESTROY:
      OnViewDestroyed();
      ReleaseBrowser();
      return DefaultProcessing(message, wparam, lparam);
    case WM_SIZE: {
      LRESULT result = DefaultProcessing(message, wparam, lparam);
      RECT area = {0, 0, LOWORD(lparam), HIWORD(lparam)};
      if (in_place_)
        in_place_->SetObjectRects(&area, &area);
      if (HWND inner = BrowserWindow())
        SetWindowPos(inner, nullptr, 0, 0, area.right, area.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
      return result;
    }
    default:
      // WM_MOUSEACTIVATE included: the plain window handling, no view activation.
      return DefaultProcessing(message, wparam, lparam);
  }
}
