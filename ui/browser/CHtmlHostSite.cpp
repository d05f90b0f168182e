#include "ui/browser/CHtmlHostSite.h"

#include <new>

namespace {

// The answers of a site whose handler is gone.
CHtmlHostHandler& BaseHandler() {
  static CHtmlHostHandler base;
  return base;
}

}  // namespace

CHtmlHostSite* CHtmlHostSite::Make(HWND container, CHtmlHostHandler* handler) {
  return new (std::nothrow) CHtmlHostSite(container, handler);
}

CHtmlHostSite::CHtmlHostSite(HWND container, CHtmlHostHandler* handler)
    : container_(container), handler_(handler) {}

void CHtmlHostSite::DetachHandler() {
  handler_ = nullptr;
  container_ = nullptr;
}

CHtmlHostHandler& CHtmlHostSite::Handler() {
  return handler_ != nullptr ? *handler_ : BaseHandler();
}

// --- IUnknown ---

STDMETHODIMP CHtmlHostSite::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr)
    return E_POINTER;
  *object = nullptr;
  if (iid == IID_IUnknown || iid == IID_IOleClientSite)
    *object = static_cast<IOleClientSite*>(this);
  else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
    *object = static_cast<IOleInPlaceSite*>(this);
  else if (iid == __uuidof(IDocHostUIHandler) || iid == __uuidof(IDocHostUIHandler2))
    *object = static_cast<IDocHostUIHandler2*>(this);
  else if (iid == __uuidof(IDocHostShowUI))
    *object = static_cast<IDocHostShowUI*>(this);
  else
    return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CHtmlHostSite::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&references_));
}

STDMETHODIMP_(ULONG) CHtmlHostSite::Release() {
  LONG left = InterlockedDecrement(&references_);
  if (left == 0)
    delete this;
  return static_cast<ULONG>(left);
}

// --- IOleClientSite ---

STDMETHODIMP CHtmlHostSite::SaveObject() {
  return E_NOTIMPL;
}

STDMETHODIMP CHtmlHostSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker != nullptr)
    *moniker = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP CHtmlHostSite::GetContainer(IOleContainer** container) {
  if (container != nullptr)
    *container = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP CHtmlHostSite::ShowObject() {
  return S_OK;
}

STDMETHODIMP CHtmlHostSite::OnShowWindow(BOOL) {
  return S_OK;
}

STDMETHODIMP CHtmlHostSite::RequestNewObjectLayout() {
  return E_NOTIMPL;
}

// --- IOleInPlaceSite ---

STDMETHODIMP CHtmlHostSite::GetWindow(HWND* window) {
  if (window == nullptr)
    return E_POINTER;
  *window = container_;
  return container_ != nullptr ? S_OK : E_FAIL;
}

STDMETHODIMP CHtmlHostSite::ContextSensitiveHelp(BOOL) {
  return E_NOTIMPL;
}

STDMETHODIMP CHtmlHostSite::CanInPlaceActivate() {
  return container_ != nullptr ? S_OK : S_FALSE;
}

STDMETHODIMP CHtmlHostSite::OnInPlaceActivate() {
  return S_OK;
}

STDMETHODIMP CHtmlHostSite::OnUIActivate() {
  return S_OK;
}

STDMETHODIMP CHtmlHostSite::GetWindowContext(IOleInPlaceFrame** frame,
                                             IOleInPlaceUIWindow** document,
                                             LPRECT position,
                                             LPRECT clip,
                                             LPOLEINPLACEFRAMEINFO frame_info) {
  if (frame == nullptr || document == nullptr || position == nullptr || clip == nullptr ||
      frame_info == nullptr)
    return E_POINTER;
  *frame = &frame_;
  frame_.AddRef();
  *document = nullptr;
  RECT client = {0, 0, 0, 0};
  if (container_ != nullptr)
    GetClientRect(container_, &client);
  *position = client;
  *clip = client;
  frame_info->cb = sizeof(OLEINPLACEFRAMEINFO);
  frame_info->fMDIApp = FALSE;
  frame_info->hwndFrame = container_;
  frame_info->haccel = nullptr;
  frame_info->cAccelEntries = 0;
  return S_OK;
}

STDMETHODIMP CHtmlHostSite::Scroll(SIZE) {
  return E_NOTIMPL;
}

STDMETHODIMP CHtmlHostSite::OnUIDeactivate(BOOL) {
  return S_OK;
}

STDMETHODIMP CHtmlHostSite::OnInPlaceDeactivate() {
  return S_OK;
}

STDMETHODIMP CHtmlHostSite::DiscardUndoState() {
  return E_NOTIMPL;
}

STDMETHODIMP CHtmlHostSite::DeactivateAndUndo() {
  return E_NOTIMPL;
}

STDMETHODIMP CHtmlHostSite::OnPosRectChange(LPCRECT) {
  return S_OK;
}

// --- IDocHostUIHandler, IDocHostUIHandler2 ---

STDMETHODIMP CHtmlHostSite::ShowContextMenu(DWORD id, POINT* point, IUnknown* target, IDispatch* object) {
  return Handler().ShowContextMenu(id, point, target, object);
}

STDMETHODIMP CHtmlHostSite::GetHostInfo(DOCHOSTUIINFO* info) {
  return Handler().GetHostInfo(info);
}

STDMETHODIMP CHtmlHostSite::ShowUI(DWORD id,
                                   IOleInPlaceActiveObject* active_object,
                                   IOleCommandTarget* command_target,
                                   IOleInPlaceFrame* frame,
                                   IOleInPlaceUIWindow* document) {
  return Handler().ShowUI(id, active_object, command_target, frame, document);
}

STDMETHODIMP CHtmlHostSite::HideUI() {
  return Handler().HideUI();
}

STDMETHODIMP CHtmlHostSite::UpdateUI() {
  return Handler().UpdateUI();
}

STDMETHODIMP CHtmlHostSite::EnableModeless(BOOL enable) {
  return Handler().EnableModeless(enable);
}

STDMETHODIMP CHtmlHostSite::OnDocWindowActivate(BOOL activate) {
  return Handler().OnDocWindowActivate(activate);
}

STDMETHODIMP CHtmlHostSite::OnFrameWindowActivate(BOOL activate) {
  return Handler().OnFrameWindowActivate(activate);
}

STDMETHODIMP CHtmlHostSite::ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frame_window) {
  return Handler().ResizeBorder(border, window, frame_window);
}

STDMETHODIMP CHtmlHostSite::TranslateAccelerator(LPMSG message, const GUID* group, DWORD command) {
  return Handler().TranslateAccelerator(message, group, command);
}

STDMETHODIMP CHtmlHostSite::GetOptionKeyPath(LPOLESTR* key, DWORD reserved) {
  return Handler().GetOptionKeyPath(key, reserved);
}

STDMETHODIMP CHtmlHostSite::GetDropTarget(IDropTarget* drop_target, IDropTarget** replacement) {
  return Handler().GetDropTarget(drop_target, replacement);
}

STDMETHODIMP CHtmlHostSite::GetExternal(IDispatch** external) {
  return Handler().GetExternal(external);
}

STDMETHODIMP CHtmlHostSite::TranslateUrl(DWORD translate, LPWSTR url, LPWSTR* translated) {
  return Handler().TranslateUrl(translate, url, translated);
}

STDMETHODIMP CHtmlHostSite::FilterDataObject(IDataObject* object, IDataObject** replacement) {
  return Handler().FilterDataObject(object, replacement);
}

STDMETHODIMP CHtmlHostSite::GetOverrideKeyPath(LPOLESTR* key, DWORD reserved) {
  return Handler().GetOverrideKeyPath(key, reserved);
}

// --- IDocHostShowUI ---

STDMETHODIMP CHtmlHostSite::ShowMessage(HWND window,
                                        LPOLESTR text,
                                        LPOLESTR caption,
                                        DWORD type,
                                        LPOLESTR help_file,
                                        DWORD help_context,
                                        LRESULT* result) {
  return Handler().ShowMessage(window, text, caption, type, help_file, help_context, result);
}

STDMETHODIMP CHtmlHostSite::ShowHelp(HWND window,
                                     LPOLESTR help_file,
                                     UINT command,
                                     DWORD data,
                                     POINT point,
                                     IDispatch* object) {
  return Handler().ShowHelp(window, help_file, command, data, point, object);
}

// --- The in-place frame ---

STDMETHODIMP CHtmlHostSite::Frame::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr)
    return E_POINTER;
  if (iid == IID_IOleWindow || iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame) {
    *object = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    return S_OK;
  }
  return site_.QueryInterface(iid, object);
}

STDMETHODIMP_(ULONG) CHtmlHostSite::Frame::AddRef() {
  return site_.AddRef();
}

STDMETHODIMP_(ULONG) CHtmlHostSite::Frame::Release() {
  return site_.Release();
}

STDMETHODIMP CHtmlHostSite::Frame::GetWindow(HWND* window) {
  return site_.GetWindow(window);
}

STDMETHODIMP CHtmlHostSite::Frame::ContextSensitiveHelp(BOOL) {
  return E_NOTIMPL;
}

STDMETHODIMP CHtmlHostSite::Frame::GetBorder(LPRECT) {
  return E_NOTIMPL;
}

STDMETHODIMP CHtmlHostSite::Frame::RequestBorderSpace(LPCBORDERWIDTHS) {
  return E_NOTIMPL;
}

STDMETHODIMP CHtmlHostSite::Frame::SetBorderSpace(LPCBORDERWIDTHS) {
  return E_NOTIMPL;
}

STDMETHODIMP CHtmlHostSite::Frame::SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) {
  return S_OK;
}

STDMETHODIMP CHtmlHostSite::Frame::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) {
  return E_NOTIMPL;
}

STDMETHODIMP CHtmlHostSite::Frame::SetMenu(HMENU, HOLEMENU, HWND) {
  return S_OK;
}

STDMETHODIMP CHtmlHostSite::Frame::RemoveMenus(HMENU) {
  return E_NOTIMPL;
}

STDMETHODIMP CHtmlHostSite::Frame::SetStatusText(LPCOLESTR) {
  return S_OK;
}

STDMETHODIMP CHtmlHostSite::Frame::EnableModeless(BOOL) {
  return S_OK;
}

STDMETHODIMP CHtmlHostSite::Frame::TranslateAccelerator(LPMSG, WORD) {
  return S_FALSE;
}
