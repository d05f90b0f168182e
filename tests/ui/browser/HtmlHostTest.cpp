// The web-browser host through its own interfaces, without a browser: the site's host answers, the event
// sink fed with arguments as the browser builds them, document reads through the view's seam, script calls
// through a fake dispatch object and page commands.
#include <windows.h>
// After windows.h, which they need.
#include <exdispid.h>
#include <mshtmhst.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/ui/browser/BrowserEventArguments.h"
#include "ui/base/NumberText.h"
#include "ui/browser/BrowserEventSink.h"
#include "ui/browser/CHtmlCtrl.h"
#include "ui/browser/CHtmlHostHandler.h"
#include "ui/browser/CHtmlHostSite.h"
#include "ui/browser/CHtmlHostSiteOccManager.h"
#include "ui/browser/CHtmlScript.h"
#include "ui/browser/ComPtr.h"

namespace {

using testing_support::EventArguments;
using testing_support::Fire;

// --- Host answers ---

SHORT key_state = 0;
std::vector<std::wstring> message_boxes;

SHORT WINAPI FakeKeyState(int key) {
  return key == VK_CONTROL ? key_state : 0;
}

int WINAPI FakeMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  message_boxes.push_back((owner == nullptr ? L"no owner|" : L"owner|") + std::wstring(text) + L"|" +
                          caption + L"|" + std::to_wstring(type));
  return IDRETRY;
}

class SystemCallsFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    HtmlHostSystemCalls calls;
    calls.get_async_key_state = FakeKeyState;
    calls.message_box = FakeMessageBox;
    SetHtmlHostSystemCalls(&calls);
    key_state = 0;
    message_boxes.clear();
  }
  void TearDown() override { SetHtmlHostSystemCalls(nullptr); }
};

using HtmlHostAnswers = SystemCallsFixture;

// Every slot of the handler asked through one of the site's two handler interfaces; the HRESULT.
HRESULT AskSlot(IDocHostUIHandler* host, int slot) {
  MSG message = {};
  LPOLESTR key = nullptr;
  IDropTarget* drop = nullptr;
  IDispatch* external = reinterpret_cast<IDispatch*>(1);
  IDataObject* data = reinterpret_cast<IDataObject*>(1);
  LPWSTR translated = nullptr;
  DOCHOSTUIINFO info = {};
  info.cbSize = sizeof(info);
  switch (slot) {
    case 1:
      return host->ShowContextMenu(CONTEXT_MENU_DEFAULT, nullptr, nullptr, nullptr);
    case 2: {
      HRESULT hr = host->GetHostInfo(&info);
      EXPECT_EQ(0x4002Du, info.dwFlags);
      EXPECT_EQ(0u, info.dwDoubleClick);
      return hr;
    }
    case 3:
      return host->ShowUI(0, nullptr, nullptr, nullptr, nullptr);
    case 4:
      return host->HideUI();
    case 5:
      return host->UpdateUI();
    case 6:
      return host->EnableModeless(TRUE);
    case 7:
      return host->OnDocWindowActivate(TRUE);
    case 8:
      return host->OnFrameWindowActivate(TRUE);
    case 9:
      return host->ResizeBorder(nullptr, nullptr, TRUE);
    case 10:
      return host->TranslateAccelerator(&message, nullptr, 0);
    case 11: {
      HRESULT hr = host->GetOptionKeyPath(&key, 0);
      EXPECT_STREQ(L"Software\\CHtmlDialog", key);
      CoTaskMemFree(key);
      EXPECT_EQ(E_INVALIDARG, host->GetOptionKeyPath(nullptr, 0));
      return hr;
    }
    case 12:
      return host->GetDropTarget(nullptr, &drop);
    case 13: {
      HRESULT hr = host->GetExternal(&external);
      EXPECT_EQ(nullptr, external);
      return hr;
    }
    case 14:
      return host->TranslateUrl(0, const_cast<LPWSTR>(L"http://a.test/"), &translated);
    case 15: {
      HRESULT hr = host->FilterDataObject(nullptr, &data);
      EXPECT_EQ(nullptr, data);
      return hr;
    }
    case 16: {
      ComPtr<IDocHostUIHandler2> second;
      EXPECT_EQ(S_OK, host->QueryInterface(__uuidof(IDocHostUIHandler2), second.ReceiveVoid()));
      return second ? second->GetOverrideKeyPath(&key, 0) : E_FAIL;
    }
    default:
      return E_FAIL;
  }
}

TEST_F(HtmlHostAnswers, EverySlotAnswersTheSameThroughBothHandlerInterfaces) {
  CHtmlHostHandler handler;
  CHtmlHostSiteOccManager manager(&handler);
  CHtmlHostSite* site = manager.CreateSite(nullptr);
  ASSERT_NE(nullptr, site);
  EXPECT_EQ(site, manager.last_site());
  EXPECT_EQ(&handler, site->handler());
  ComPtr<IDocHostUIHandler> first;
  ComPtr<IDocHostUIHandler2> second;
  ASSERT_EQ(S_OK, site->QueryInterface(__uuidof(IDocHostUIHandler), first.ReceiveVoid()));
  ASSERT_EQ(S_OK, site->QueryInterface(__uuidof(IDocHostUIHandler2), second.ReceiveVoid()));

  const HRESULT expected[] = {0,         S_OK,      S_OK,      E_NOTIMPL, S_OK,      S_OK,
                              E_NOTIMPL, E_NOTIMPL, E_NOTIMPL, E_NOTIMPL, E_NOTIMPL, S_OK,
                              S_FALSE,   E_NOTIMPL, E_NOTIMPL, S_OK,      E_NOTIMPL};
  for (IDocHostUIHandler* host : {first.get(), static_cast<IDocHostUIHandler*>(second.get())}) {
    for (int slot = 1; slot <= 16; ++slot)
      EXPECT_EQ(expected[slot], AskSlot(host, slot)) << "slot " << slot;
  }

  // Ctrl held: accelerators are swallowed.
  key_state = static_cast<SHORT>(0x8000);
  MSG message = {};
  EXPECT_EQ(S_OK, first->TranslateAccelerator(&message, nullptr, 0));
  EXPECT_EQ(S_OK, second->TranslateAccelerator(&message, nullptr, 0));

  // The page's message: no owner, our caption, the page's style; the box's answer comes back.
  ComPtr<IDocHostShowUI> show;
  ASSERT_EQ(S_OK, site->QueryInterface(__uuidof(IDocHostShowUI), show.ReceiveVoid()));
  LRESULT answer = 0;
  HWND owner = reinterpret_cast<HWND>(0x1234);
  EXPECT_EQ(S_OK, show->ShowMessage(owner, const_cast<LPOLESTR>(L"Hello"), const_cast<LPOLESTR>(L"Page"),
                                    MB_OKCANCEL, nullptr, 0, &answer));
  EXPECT_EQ(IDRETRY, answer);
  EXPECT_EQ((std::vector<std::wstring>{L"no owner|Hello|Caption|1"}), message_boxes);
  POINT point = {0, 0};
  EXPECT_EQ(E_NOTIMPL, show->ShowHelp(nullptr, nullptr, 0, 0, point, nullptr));
}

// A handler that counts the calls it gets.
class CountingHandler : public CHtmlHostHandler {
 public:
  int host_info_calls = 0;
  std::vector<std::pair<int32_t, std::wstring>> commands;
  int ready_calls = 0;
  HRESULT GetHostInfo(DOCHOSTUIINFO* info) override {
    ++host_info_calls;
    return CHtmlHostHandler::GetHostInfo(info);
  }
  void OnScriptCommand(int32_t number, const wchar_t* argument) override {
    commands.emplace_back(number, argument);
  }
  void OnDocumentReady() override { ++ready_calls; }
};

TEST_F(HtmlHostAnswers, ADetachedSiteGivesTheBaseAnswers) {
  CountingHandler handler;
  ComPtr<IDocHostUIHandler> host;
  {
    CHtmlHostSiteOccManager manager(&handler);
    CHtmlHostSite* site = manager.CreateSite(nullptr);
    ASSERT_NE(nullptr, site);
    ASSERT_EQ(S_OK, site->QueryInterface(__uuidof(IDocHostUIHandler), host.ReceiveVoid()));
    DOCHOSTUIINFO info = {};
    host->GetHostInfo(&info);
    EXPECT_EQ(1, handler.host_info_calls);
  }  // the manager goes: its site is cut off
  DOCHOSTUIINFO info = {};
  EXPECT_EQ(S_OK, host->GetHostInfo(&info));
  EXPECT_EQ(0x4002Du, info.dwFlags);
  EXPECT_EQ(1, handler.host_info_calls);
}

// --- Script calls ---

// A script object with the functions "show" (answers a text) and "count" (answers a number).
class FakeScript : public IDispatch {
 public:
  std::vector<std::wstring> calls;  // name(argument, argument...)
  LONG references = 1;
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
      *object = this;
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
  STDMETHODIMP_(ULONG) Release() override { return --references; }
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (count != 1)
      return E_INVALIDARG;
    std::wstring name = names[0];
    ids[0] = name == L"show" ? 1 : name == L"count" ? 2 : DISPID_UNKNOWN;
    return ids[0] == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : S_OK;
  }
  STDMETHODIMP Invoke(DISPID id,
                      REFIID,
                      LCID,
                      WORD flags,
                      DISPPARAMS* parameters,
                      VARIANT* result,
                      EXCEPINFO*,
                      UINT*) override {
    if (flags != DISPATCH_METHOD)
      return DISP_E_MEMBERNOTFOUND;
    std::wstring call = id == 1 ? L"show(" : L"count(";
    for (UINT i = 0; i < parameters->cArgs; ++i) {
      const VARIANT& argument = parameters->rgvarg[i];  // as the page receives them: rgvarg[0] first
      call += (i ? L"," : L"") + std::wstring(argument.vt == VT_BSTR ? argument.bstrVal : L"?");
    }
    calls.push_back(call + L")");
    if (result != nullptr && id == 1) {
      result->vt = VT_BSTR;
      result->bstrVal = SysAllocString(L"shown");
    } else if (result != nullptr) {
      result->vt = VT_I4;
      result->lVal = 3;
    }
    return S_OK;
  }
};

TEST(HtmlScript, ArgumentsGoLastFirstAndTextResultsAreCopied) {
  FakeScript page;
  CHtmlScript script;
  script.SetScriptDispatch(&page);
  std::wstring result = L"old";
  EXPECT_EQ(1, script.CallScript(L"show", {L"a", L"b"}, &result));
  EXPECT_EQ(L"shown", result);
  EXPECT_EQ(1, script.CallScript(L"count", {}, &result));
  EXPECT_EQ(L"", result);  // not a text
  EXPECT_EQ(0, script.CallScript(L"missing", {}, &result));
  EXPECT_EQ((std::vector<std::wstring>{L"show(b,a)", L"count()"}), page.calls);
  EXPECT_FALSE(script.pending());
  script.SetScriptDispatch(nullptr);
  EXPECT_EQ(1, page.references);
}

TEST(HtmlScript, ACallWithoutAScriptObjectIsMadeOnceWhenItArrives) {
  FakeScript page;
  CHtmlScript script;
  EXPECT_EQ(0, script.CallScript(L"show", {L"lost"}, nullptr));
  EXPECT_TRUE(script.pending());
  EXPECT_EQ(L"show", script.pending_name());
  script.SetScriptDispatch(&page);
  script.SetScriptDispatch(&page);
  EXPECT_EQ((std::vector<std::wstring>{L"show()"}), page.calls);
  EXPECT_FALSE(script.pending());
  script.SetScriptDispatch(nullptr);
}

// --- Events and documents ---

// A view without a window whose document reads and top-level test are scripted.
class ScriptedView : public CHtmlCtrl {
 public:
  IDispatch* top_frame = reinterpret_cast<IDispatch*>(0x10);
  std::vector<HtmlDocumentReading*> pages;  // what the next reads give (front first); none: a failure
  int reads = 0;
  std::vector<std::wstring> before_urls;

  void OnBeforeNavigate2(const wchar_t* url, const wchar_t* frame, bool top_level, BOOL* cancel) override {
    before_urls.push_back(url);
    if (std::wstring(url).find(L"block") != std::wstring::npos)
      *cancel = TRUE;
    CHtmlCtrl::OnBeforeNavigate2(url, frame, top_level, cancel);
  }

 protected:
  bool IsTopLevelFrame(IDispatch* frame) override { return frame == top_frame; }
  HRESULT ReadDocument(HtmlDocumentReading* out) override {
    ++reads;
    if (pages.empty())
      return E_FAIL;
    HtmlDocumentReading* page = pages.front();
    pages.erase(pages.begin());
    out->document = ComPtr<IDispatch>::Share(page->document.get());
    out->script = ComPtr<IDispatch>::Share(page->script.get());
    out->title = page->title;
    out->body_width = page->body_width;
    out->body_height = page->body_height;
    return S_OK;
  }
};

TEST(BrowserEvents, TheCancelFlagIsWrittenBackAndNavigateErrorClearsIt) {
  ScriptedView view;
  ComPtr<BrowserEventSink> sink(BrowserEventSink::Make(&view));
  ASSERT_TRUE(sink);
  EventArguments pass(view.top_frame, L"http://a.test/", 4, true);
  Fire(sink.get(), DISPID_BEFORENAVIGATE2, pass);
  EXPECT_EQ(VARIANT_FALSE, pass.cancel_);
  EventArguments block(view.top_frame, L"http://a.test/block", 4, true);
  Fire(sink.get(), DISPID_BEFORENAVIGATE2, block);
  EXPECT_EQ(VARIANT_TRUE, block.cancel_);
  EXPECT_EQ((std::vector<std::wstring>{L"http://a.test/", L"http://a.test/block"}), view.before_urls);

  EventArguments error(view.top_frame, L"http://a.test/missing", 2, true);
  error.cancel_ = VARIANT_TRUE;
  Fire(sink.get(), DISPID_NAVIGATEERROR, error);
  EXPECT_EQ(VARIANT_FALSE, error.cancel_);

  // A list of another shape is not passed on; a detached sink reaches nobody.
  EventArguments short_list(view.top_frame, L"http://a.test/short", 0, true);
  Fire(sink.get(), DISPID_BEFORENAVIGATE2, short_list);
  sink->Detach();
  Fire(sink.get(), DISPID_BEFORENAVIGATE2, pass);
  EXPECT_EQ(2u, view.before_urls.size());
}

TEST(BrowserEvents, EachTopLevelPageReplacesTheScriptObjectAndSubFramesDoNot) {
  CountingHandler handler;
  ScriptedView view;
  view.CHtmlScript::CallScript(L"show", {}, nullptr);  // before any page: pending
  FakeScript first_script;
  FakeScript second_script;
  FakeScript frame_script;
  HtmlDocumentReading first;
  first.document = ComPtr<IDispatch>::Share(&first_script);
  first.script = ComPtr<IDispatch>::Share(&first_script);
  first.title = L"First";
  first.body_width = L"640px";
  first.body_height = L"";
  HtmlDocumentReading second;
  second.document = ComPtr<IDispatch>::Share(&second_script);
  second.script = ComPtr<IDispatch>::Share(&second_script);
  second.body_width = L"auto";
  second.body_height = L"480";
  view.pages = {&first, &first};
  ComPtr<BrowserEventSink> sink(BrowserEventSink::Make(&view));
  IDispatch* sub_frame = &frame_script;

  EventArguments complete(view.top_frame, L"http://a.test/1", 0, false);
  Fire(sink.get(), DISPID_NAVIGATECOMPLETE2, complete);
  Fire(sink.get(), DISPID_DOCUMENTCOMPLETE, complete);
  EXPECT_EQ(&first_script, view.script());
  EXPECT_EQ(&first_script, view.document());
  EXPECT_EQ(L"First", view.title());
  EXPECT_EQ(640, view.content_width());
  EXPECT_EQ(0, view.content_height());
  EXPECT_EQ((std::vector<std::wstring>{L"show()"}), first_script.calls);  // the pending call, once

  // A sub-frame's events neither drop nor replace the page's script.
  EventArguments frame_before(sub_frame, L"http://a.test/frame", 4, true);
  Fire(sink.get(), DISPID_BEFORENAVIGATE2, frame_before);
  EventArguments frame_complete(sub_frame, L"http://a.test/frame", 0, false);
  Fire(sink.get(), DISPID_NAVIGATECOMPLETE2, frame_complete);
  Fire(sink.get(), DISPID_DOCUMENTCOMPLETE, frame_complete);
  EXPECT_EQ(&first_script, view.script());
  EXPECT_EQ(2, view.reads);

  // The next top-level page: its start drops the script, its arrival brings the new one.
  EventArguments before(view.top_frame, L"http://a.test/2", 4, true);
  Fire(sink.get(), DISPID_BEFORENAVIGATE2, before);
  EXPECT_EQ(nullptr, view.script());
  view.pages = {&second, &second};
  EventArguments complete_second(view.top_frame, L"http://a.test/2", 0, false);
  Fire(sink.get(), DISPID_NAVIGATECOMPLETE2, complete_second);
  EXPECT_EQ(&second_script, view.script());
  Fire(sink.get(), DISPID_DOCUMENTCOMPLETE, complete_second);
  EXPECT_EQ(0, view.content_width());
  EXPECT_EQ(480, view.content_height());
  EXPECT_EQ(L"", view.title());

  // A document that cannot be read leaves none cached.
  Fire(sink.get(), DISPID_DOCUMENTCOMPLETE, complete_second);
  EXPECT_EQ(nullptr, view.document());
  view.SetScriptDispatch(nullptr);
  EXPECT_TRUE(second_script.calls.empty());
  EXPECT_TRUE(frame_script.calls.empty());
}

TEST(BrowserEvents, PageCommandsBecomeHandlerCalls) {
  struct Case {
    const wchar_t* text;
    int32_t number;
    const wchar_t* argument;
  };
  const Case cases[] = {
      {L"12@news", 12, L"news"}, {L"7", 7, L" "}, {L"abc", 0, L" "}, {L"3@a@b", 3, L"a@b"}, {L"-4@", -4, L""},
  };
  CountingHandler handler;
  ScriptedView view;
  RECT nowhere = {0, 0, 1, 1};
  // Without a parent window no view is made, but the handler is stored.
  EXPECT_EQ(0, view.Create(&handler, nowhere, reinterpret_cast<HWND>(0x1), 1));
  for (const Case& c : cases) {
    handler.commands.clear();
    view.OnAppCommand(c.text);
    ASSERT_EQ(1u, handler.commands.size()) << c.text;
    EXPECT_EQ(c.number, handler.commands[0].first) << c.text;
    EXPECT_EQ(c.argument, handler.commands[0].second) << c.text;
  }
  EXPECT_EQ(640, TextToInt32(L"640px"));
  EXPECT_EQ(0, TextToInt32(L""));
  EXPECT_EQ(0, TextToInt32(nullptr));
}

}  // namespace
