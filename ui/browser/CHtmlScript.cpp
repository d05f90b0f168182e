#include "ui/browser/CHtmlScript.h"

#include <oleauto.h>

namespace {

// The dispatch arguments: BSTR variants that are cleared when the call is over.
class VariantArguments {
 public:
  explicit VariantArguments(size_t count) : variants_(count) {
    for (VARIANT& variant : variants_)
      VariantInit(&variant);
  }
  ~VariantArguments() {
    for (VARIANT& variant : variants_)
      VariantClear(&variant);
  }
  VariantArguments(const VariantArguments&) = delete;
  VariantArguments& operator=(const VariantArguments&) = delete;
  VARIANT* data() { return variants_.empty() ? nullptr : variants_.data(); }
  VARIANT& operator[](size_t i) { return variants_[i]; }

 private:
  std::vector<VARIANT> variants_;
};

}  // namespace

void CHtmlScript::SetScriptDispatch(IDispatch* script) {
  if (script != script_.get())
    script_ = ComPtr<IDispatch>::Share(script);
  if (script_ && pending_) {
    // Cleared first: the call may navigate and so set the script again.
    std::wstring name = std::move(pending_name_);
    pending_ = false;
    pending_name_.clear();
    Invoke(name.c_str(), {}, nullptr);
  }
}

int CHtmlScript::CallScript(const wchar_t* name,
                            const std::vector<std::wstring>& arguments,
                            std::wstring* result) {
  if (name == nullptr || *name == L'\0')
    return 0;
  if (!script_) {
    pending_ = true;
    pending_name_ = name;
    return 0;
  }
  return SUCCEEDED(Invoke(name, arguments, result)) ? 1 : 0;
}

HRESULT CHtmlScript::Invoke(const wchar_t* name,
                            const std::vector<std::wstring>& arguments,
                            std::wstring* result) {
  ComPtr<IDispatch> script = ComPtr<IDispatch>::Share(script_.get());  // the call may replace script_
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[1] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = script->GetIDsOfNames(IID_NULL, names, 1, LOCALE_SYSTEM_DEFAULT, &id);
  if (FAILED(hr))
    return hr;
  // The dispatch convention passes the arguments last first.
  size_t count = arguments.size();
  VariantArguments variants(count);
  for (size_t i = 0; i < count; ++i) {
    const std::wstring& text = arguments[count - 1 - i];
    variants[i].vt = VT_BSTR;
    variants[i].bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (variants[i].bstrVal == nullptr)
      return E_OUTOFMEMORY;
  }
  DISPPARAMS parameters = {variants.data(), nullptr, static_cast<UINT>(count), 0};
  VARIANT answer;
  VariantInit(&answer);
  hr = script->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, &parameters, &answer, nullptr,
                      nullptr);
  if (SUCCEEDED(hr) && result != nullptr) {
    if (answer.vt == VT_BSTR && answer.bstrVal != nullptr)
      result->assign(answer.bstrVal, SysStringLen(answer.bstrVal));
    else
      result->clear();
  }
  VariantClear(&answer);
  return hr;
}
