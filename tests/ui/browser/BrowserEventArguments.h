// The argument list of a DWebBrowserEvents2 call as the browser builds it (VARIANTs stored last first, the
// URL by reference to a VARIANT, the cancel flag by reference), and the call into a sink.
#pragma once

#include <windows.h>
// After windows.h, which they need.
#include <oaidl.h>
#include <oleauto.h>

#include <vector>

namespace testing_support {

// The browser's argument list for an event: VARIANTs stored last first, texts by reference.
class EventArguments {
 public:
  // `frame`, then the URL and the rest in declaration order.
  EventArguments(IDispatch* frame, const wchar_t* url, size_t extra_texts, bool with_cancel) {
    url_text_ = SysAllocString(url);
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_DISPATCH;
    v.pdispVal = frame;
    declared_.push_back(v);
    url_.vt = VT_BSTR;
    url_.bstrVal = url_text_;
    VARIANT by_reference;
    VariantInit(&by_reference);
    by_reference.vt = VT_BYREF | VT_VARIANT;
    by_reference.pvarVal = &url_;
    declared_.push_back(by_reference);
    for (size_t i = 0; i < extra_texts; ++i) {
      VARIANT empty;
      VariantInit(&empty);
      declared_.push_back(empty);
    }
    if (with_cancel) {
      VARIANT cancel;
      VariantInit(&cancel);
      cancel.vt = VT_BYREF | VT_BOOL;
      cancel.pboolVal = &cancel_;
      declared_.push_back(cancel);
    }
    reversed_.assign(declared_.rbegin(), declared_.rend());
    parameters_ = {reversed_.data(), nullptr, static_cast<UINT>(reversed_.size()), 0};
  }
  ~EventArguments() { SysFreeString(url_text_); }
  EventArguments(const EventArguments&) = delete;
  EventArguments& operator=(const EventArguments&) = delete;
  DISPPARAMS* parameters() { return &parameters_; }
  VARIANT_BOOL cancel_ = VARIANT_FALSE;

 private:
  BSTR url_text_;
  VARIANT url_ = {};
  std::vector<VARIANT> declared_;
  std::vector<VARIANT> reversed_;
  DISPPARAMS parameters_ = {};
};

inline void Fire(IDispatch* sink, DISPID id, EventArguments& arguments) {
  sink->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, arguments.parameters(), nullptr, nullptr,
               nullptr);
}

}  // namespace testing_support
