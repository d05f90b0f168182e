#include "ui/browser/CHtmlHostHandler.h"

#include <cwchar>

const wchar_t kHtmlOptionKeyPath[] = L"Software\\CHtmlDialog";
const wchar_t kHtmlMessageCaption[] = L"Caption";

namespace {

HtmlHostSystemCalls& SystemCalls() {
  static HtmlHostSystemCalls calls;
  return calls;
}

HtmlMessageGuard& MessageGuard() {
  static HtmlMessageGuard guard;
  return guard;
}

}  // namespace

void SetHtmlHostSystemCalls(const HtmlHostSystemCalls* calls) {
  SystemCalls() = calls != nullptr ? *calls : HtmlHostSystemCalls();
}

void SetHtmlMessageGuard(const HtmlMessageGuard* guard) {
  MessageGuard() = guard != nullptr ? *guard : HtmlMessageGuard();
}

HRESULT CHtmlHostHandler::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) {
  return S_OK;
}

HRESULT CHtmlHostHandler::GetHostInfo(DOCHOSTUIINFO* info) {
  if (info == nullptr)
    return E_INVALIDARG;
  info->dwFlags = kHtmlHostFlags;
  info->dwDoubleClick = 0;
  return S_OK;
}

HRESULT CHtmlHostHandler::ShowUI(DWORD,
                                 IOleInPlaceActiveObject*,
                                 IOleCommandTarget*,
                                 IOleInPlaceFrame*,
                                 IOleInPlaceUIWindow*) {
  return E_NOTIMPL;
}

HRESULT CHtmlHostHandler::HideUI() {
  return S_OK;
}

HRESULT CHtmlHostHandler::UpdateUI() {
  return S_OK;
}

HRESULT CHtmlHostHandler::EnableModeless(BOOL) {
  return E_NOTIMPL;
}

HRESULT CHtmlHostHandler::OnDocWindowActivate(BOOL) {
  return E_NOTIMPL;
}

HRESULT CHtmlHostHandler::OnFrameWindowActivate(BOOL) {
  return E_NOTIMPL;
}

HRESULT CHtmlHostHandler::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) {
  return E_NOTIMPL;
}

HRESULT CHtmlHostHandler::TranslateAccelerator(LPMSG, const GUID*, DWORD) {
  // The asynchronous state: the key as it is now, not as the message queue last saw it.
  return (SystemCalls().get_async_key_state(VK_CONTROL) & 0x8000) != 0 ? S_OK : E_NOTIMPL;
}

HRESULT CHtmlHostHandler::GetOptionKeyPath(LPOLESTR* key, DWORD) {
  if (key == nullptr)
    return E_INVALIDARG;
  size_t bytes = sizeof(kHtmlOptionKeyPath);
  *key = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
  if (*key == nullptr)
    return E_OUTOFMEMORY;
  std::wmemcpy(*key, kHtmlOptionKeyPath, bytes / sizeof(wchar_t));
  return S_OK;
}

HRESULT CHtmlHostHandler::GetDropTarget(IDropTarget*, IDropTarget**) {
  return S_FALSE;
}

HRESULT CHtmlHostHandler::GetExternal(IDispatch** external) {
  if (external != nullptr)
    *external = nullptr;
  return E_NOTIMPL;
}

HRESULT CHtmlHostHandler::TranslateUrl(DWORD, LPWSTR, LPWSTR*) {
  return E_NOTIMPL;
}

HRESULT CHtmlHostHandler::FilterDataObject(IDataObject*, IDataObject** replacement) {
  if (replacement != nullptr)
    *replacement = nullptr;
  return S_OK;
}

HRESULT CHtmlHostHandler::GetOverrideKeyPath(LPOLESTR*, DWORD) {
  return E_NOTIMPL;
}

HRESULT
CHtmlHostHandler::ShowMessage(HWND, LPOLESTR text, LPOLESTR, DWORD type, LPOLESTR, DWORD, LRESULT* result) {
  // A copy, so that the guard that was entered is the one left whatever the box's message loop runs.
  const HtmlMessageGuard guard = MessageGuard();
  int answer = IDCANCEL;
  if (guard.enter == nullptr || guard.enter() != 0) {
    answer = SystemCalls().message_box(nullptr, text != nullptr ? text : L"", kHtmlMessageCaption, type);
    if (guard.leave != nullptr)
      guard.leave();
  }
  if (result != nullptr)
    *result = answer;
  return S_OK;
}

HRESULT CHtmlHostHandler::ShowHelp(HWND, LPOLESTR, UINT, DWORD, POINT, IDispatch*) {
  return E_NOTIMPL;
}

void CHtmlHostHandler::OnScriptCommand(int32_t, const wchar_t*) {}

void CHtmlHostHandler::OnDocumentReady() {}
