// BrowserEventSink: receives the web-browser object's DWebBrowserEvents2 calls (a dispatch interface) and
// turns the four that a web view needs into calls of its receiver with decoded arguments:
//   BeforeNavigate2   (frame, URL, flags, target frame, post data, headers, cancel by reference)
//   NavigateComplete2 (frame, URL)
//   DocumentComplete  (frame, URL)
//   NavigateError     (frame, URL, target frame, status code, cancel by reference)
// The browser builds the arguments last first (rgvarg[0] is the last one) and passes the URL, the texts and
// the cancel flag by reference; a cancel flag set by the receiver is written back. Arguments of another
// count or type are ignored (the event is not passed on).
//
// Ownership: reference counted (the browser's connection point holds it while advised); the receiver is not
// owned and is cut off (Detach) before it goes.
//
// Thread: user-interface thread only.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <oaidl.h>

#include <cstdint>

class BrowserEventReceiver {
 public:
  virtual void OnBrowserBeforeNavigate(IDispatch* frame,
                                       const wchar_t* url,
                                       const wchar_t* target_frame,
                                       BOOL* cancel) = 0;
  virtual void OnBrowserNavigateComplete(IDispatch* frame, const wchar_t* url) = 0;
  virtual void OnBrowserDocumentComplete(IDispatch* frame, const wchar_t* url) = 0;
  virtual void OnBrowserNavigateError(IDispatch* frame,
                                      const wchar_t* url,
                                      const wchar_t* target_frame,
                                      int32_t status,
                                      BOOL* cancel) = 0;

 protected:
  ~BrowserEventReceiver() = default;
};

class BrowserEventSink : public IDispatch {
 public:
  // A new sink with one reference (the caller's); null when memory ran out.
  static BrowserEventSink* Make(BrowserEventReceiver* receiver);
  // Later events reach nobody.
  void Detach() { receiver_ = nullptr; }

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id,
                      REFIID iid,
                      LCID locale,
                      WORD flags,
                      DISPPARAMS* parameters,
                      VARIANT* result,
                      EXCEPINFO* exception,
                      UINT* argument_error) override;

 private:
  explicit BrowserEventSink(BrowserEventReceiver* receiver) : receiver_(receiver) {}
  virtual ~BrowserEventSink() = default;
  void BeforeNavigate(DISPPARAMS& parameters);
  void NavigateError(DISPPARAMS& parameters);

  LONG references_ = 1;
  BrowserEventReceiver* receiver_;
};
