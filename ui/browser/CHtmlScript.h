// CHtmlScript: calls functions of the shown page's script by name.
//
// The script object is the current document's; navigation drops it at once (so no call reaches a page that
// is leaving) and the next completed document supplies the new one. A call asked for while there is none is
// remembered by name (only the name; arguments are not kept) and made, without arguments, when the script
// object arrives: a banner asked to "Show" before its page is there shows when it comes.
//
// Thread: user-interface thread only.
#pragma once

#include <oaidl.h>

#include <string>
#include <vector>

#include "ui/browser/ComPtr.h"

class CHtmlScript {
 public:
  CHtmlScript() = default;
  virtual ~CHtmlScript() = default;
  CHtmlScript(const CHtmlScript&) = delete;
  CHtmlScript& operator=(const CHtmlScript&) = delete;

  // The current document's script object, or null. A changed object is referenced and the old one released;
  // when an object is now set and a call is pending, that call is made now (once).
  void SetScriptDispatch(IDispatch* script);
  // Calls the script function `name` with `arguments` (texts, the first one first). 1 when the call was
  // made; 0 when the name is unknown to the page, the call failed or there is no script object (then the
  // name is kept as the pending call). With `result`, a text answer is copied into it; any other answer
  // empties it.
  int CallScript(const wchar_t* name, const std::vector<std::wstring>& arguments, std::wstring* result);

  IDispatch* script() const { return script_.get(); }
  bool pending() const { return pending_; }
  const std::wstring& pending_name() const { return pending_name_; }

 private:
  // Looks the name up and invokes it as a method; the invoke's HRESULT.
  HRESULT Invoke(const wchar_t* name, const std::vector<std::wstring>& arguments, std::wstring* result);

  ComPtr<IDispatch> script_;
  bool pending_ = false;
  std::wstring pending_name_;
};
