#include "ui/browser/BrowserEventSink.h"

#include <exdisp.h>
#include <exdispid.h>

#include <new>

namespace {

// The value a VARIANT holds, through one level of VT_BYREF | VT_VARIANT.
const VARIANT& Unwrap(const VARIANT& value) {
  if (value.vt == (VT_BYREF | VT_VARIANT) && value.pvarVal != nullptr)
    return *value.pvarVal;
  return value;
}

// A text argument (BSTR, by value or reference); null when it is none.
const wchar_t* TextOf(const VARIANT& argument) {
  const VARIANT& value = Unwrap(argument);
  if (value.vt == VT_BSTR)
    return value.bstrVal != nullptr ? value.bstrVal : L"";
  if (value.vt == (VT_BYREF | VT_BSTR) && value.pbstrVal != nullptr)
    return *value.pbstrVal != nullptr ? *value.pbstrVal : L"";
  return nullptr;
}

IDispatch* DispatchOf(const VARIANT& argument) {
  const VARIANT& value = Unwrap(argument);
  if (value.vt == VT_DISPATCH)
    return value.pdispVal;
  if (value.vt == (VT_BYREF | VT_DISPATCH) && value.ppdispVal != nullptr)
    return *value.ppdispVal;
  return nullptr;
}

int32_t IntegerOf(const VARIANT& argument) {
  const VARIANT& value = Unwrap(argument);
  if (value.vt == VT_I4)
    return value.lVal;
  if (value.vt == (VT_BYREF | VT_I4) && value.plVal != nullptr)
    return *value.plVal;
  return 0;
}

VARIANT_BOOL* CancelOf(const VARIANT& argument) {
  return argument.vt == (VT_BYREF | VT_BOOL) ? argument.pboolVal : nullptr;
}

// The argument at `position` of the event's declaration (the browser stores them last first).
const VARIANT& Argument(const DISPPARAMS& parameters, UINT position) {
  return parameters.rgvarg[parameters.cArgs - 1 - position];
}

}  // namespace

BrowserEventSink* BrowserEventSink::Make(BrowserEventReceiver* receiver) {
  return new (std::nothrow) BrowserEventSink(receiver);
}

STDMETHODIMP BrowserEventSink::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr)
    return E_POINTER;
  *object = nullptr;
  if (iid != IID_IUnknown && iid != IID_IDispatch && iid != DIID_DWebBrowserEvents2)
    return E_NOINTERFACE;
  *object = static_cast<IDispatch*>(this);
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) BrowserEventSink::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&references_));
}

STDMETHODIMP_(ULONG) BrowserEventSink::Release() {
  LONG left = InterlockedDecrement(&references_);
  if (left == 0)
    delete this;
  return static_cast<ULONG>(left);
}

STDMETHODIMP BrowserEventSink::GetTypeInfoCount(UINT* count) {
  if (count == nullptr)
    return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP BrowserEventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info != nullptr)
    *info = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP BrowserEventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}

STDMETHODIMP
BrowserEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*, EXCEPINFO*, UINT*) {
  if (receiver_ == nullptr || parameters == nullptr || parameters->rgvarg == nullptr)
    return S_OK;
  DISPPARAMS& p = *parameters;
  switch (id) {
    case DISPID_BEFORENAVIGATE2:
      BeforeNavigate(p);
      break;
    case DISPID_NAVIGATECOMPLETE2:
      if (p.cArgs == 2)
        receiver_->OnBrowserNavigateComplete(DispatchOf(Argument(p, 0)), TextOf(Argument(p, 1)));
      break;
    case DISPID_DOCUMENTCOMPLETE:
      if (p.cArgs == 2)
        receiver_->OnBrowserDocumentComplete(DispatchOf(Argument(p, 0)), TextOf(Argument(p, 1)));
      break;
    case DISPID_NAVIGATEERROR:
      NavigateError(p);
      break;
    default:
      break;
  }
  return S_OK;
}

void BrowserEventSink::BeforeNavigate(DISPPARAMS& p) {
  if (p.cArgs != 7)
    return;
  VARIANT_BOOL* cancel_out = CancelOf(Argument(p, 6));
  if (cancel_out == nullptr)
    return;
  BOOL cancel = *cancel_out != VARIANT_FALSE;
  receiver_->OnBrowserBeforeNavigate(DispatchOf(Argument(p, 0)), TextOf(Argument(p, 1)),
                                     TextOf(Argument(p, 3)), &cancel);
  *cancel_out = cancel ? VARIANT_TRUE : VARIANT_FALSE;
}

void BrowserEventSink::NavigateError(DISPPARAMS& p) {
  if (p.cArgs != 5)
    return;
  VARIANT_BOOL* cancel_out = CancelOf(Argument(p, 4));
  if (cancel_out == nullptr)
    return;
  BOOL cancel = *cancel_out != VARIANT_FALSE;
  receiver_->OnBrowserNavigateError(DispatchOf(Argument(p, 0)), TextOf(Argument(p, 1)),
                                    TextOf(Argument(p, 2)), IntegerOf(Argument(p, 3)), &cancel);
  *cancel_out = cancel ? VARIANT_TRUE : VARIANT_FALSE;
}
