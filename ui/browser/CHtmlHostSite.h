// CHtmlHostSite: the OLE site of one web-browser object: its client site and in-place site (with an
// in-place frame), and its document host (IDocHostUIHandler, IDocHostUIHandler2, IDocHostShowUI) whose calls
// go to a CHtmlHostHandler.
//
// Every IDocHostUIHandler method and both IDocHostShowUI methods forward to the handler's operation of the
// same name. IDocHostUIHandler2 is the same interface with GetOverrideKeyPath added, so it answers exactly
// as IDocHostUIHandler: a browser that asks for it must not get S_FALSE answers, which would bring back its
// context menu, border and scroll bars.
//
// Ownership: reference counted; the object deletes itself when the last reference goes. The handler is not
// owned: its owner cuts the link (DetachHandler) before it goes, and the browser, which may still hold the
// site, then gets the base handler's answers. The container window is the window the browser lives in; it
// is forgotten in the same step.
//
// Thread: user-interface thread only (the browser control is apartment-threaded).
#pragma once

#include <windows.h>
// After windows.h, which they need.
#include <mshtmhst.h>
#include <oleidl.h>

#include "ui/browser/CHtmlHostHandler.h"

class CHtmlHostSite : public IOleClientSite,
                      public IOleInPlaceSite,
                      public IDocHostUIHandler2,
                      public IDocHostShowUI {
 public:
  // A new site with one reference (the caller's); null when memory ran out.
  static CHtmlHostSite* Make(HWND container, CHtmlHostHandler* handler);

  // Cuts the links to the handler and the container window: later calls get the base answers.
  void DetachHandler();
  CHtmlHostHandler* handler() const { return handler_; }
  HWND container() const { return container_; }

  // IUnknown.
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IOleClientSite.
  STDMETHODIMP SaveObject() override;
  STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
  STDMETHODIMP GetContainer(IOleContainer** container) override;
  STDMETHODIMP ShowObject() override;
  STDMETHODIMP OnShowWindow(BOOL show) override;
  STDMETHODIMP RequestNewObjectLayout() override;

  // IOleWindow and IOleInPlaceSite.
  STDMETHODIMP GetWindow(HWND* window) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL enter) override;
  STDMETHODIMP CanInPlaceActivate() override;
  STDMETHODIMP OnInPlaceActivate() override;
  STDMETHODIMP OnUIActivate() override;
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame,
                                IOleInPlaceUIWindow** document,
                                LPRECT position,
                                LPRECT clip,
                                LPOLEINPLACEFRAMEINFO frame_info) override;
  STDMETHODIMP Scroll(SIZE extent) override;
  STDMETHODIMP OnUIDeactivate(BOOL undoable) override;
  STDMETHODIMP OnInPlaceDeactivate() override;
  STDMETHODIMP DiscardUndoState() override;
  STDMETHODIMP DeactivateAndUndo() override;
  STDMETHODIMP OnPosRectChange(LPCRECT position) override;

  // IDocHostUIHandler and IDocHostUIHandler2: forwarded to the handler.
  STDMETHODIMP ShowContextMenu(DWORD id, POINT* point, IUnknown* command_target, IDispatch* object) override;
  STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override;
  STDMETHODIMP ShowUI(DWORD id,
                      IOleInPlaceActiveObject* active_object,
                      IOleCommandTarget* command_target,
                      IOleInPlaceFrame* frame,
                      IOleInPlaceUIWindow* document) override;
  STDMETHODIMP HideUI() override;
  STDMETHODIMP UpdateUI() override;
  STDMETHODIMP EnableModeless(BOOL enable) override;
  STDMETHODIMP OnDocWindowActivate(BOOL activate) override;
  STDMETHODIMP OnFrameWindowActivate(BOOL activate) override;
  STDMETHODIMP ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frame_window) override;
  STDMETHODIMP TranslateAccelerator(LPMSG message, const GUID* command_group, DWORD command_id) override;
  STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD reserved) override;
  STDMETHODIMP GetDropTarget(IDropTarget* drop_target, IDropTarget** replacement) override;
  STDMETHODIMP GetExternal(IDispatch** external) override;
  STDMETHODIMP TranslateUrl(DWORD translate, LPWSTR url, LPWSTR* translated) override;
  STDMETHODIMP FilterDataObject(IDataObject* object, IDataObject** replacement) override;
  STDMETHODIMP GetOverrideKeyPath(LPOLESTR* key, DWORD reserved) override;

  // IDocHostShowUI: forwarded to the handler.
  STDMETHODIMP ShowMessage(HWND window,
                           LPOLESTR text,
                           LPOLESTR caption,
                           DWORD type,
                           LPOLESTR help_file,
                           DWORD help_context,
                           LRESULT* result) override;
  STDMETHODIMP ShowHelp(HWND window,
                        LPOLESTR help_file,
                        UINT command,
                        DWORD data,
                        POINT point,
                        IDispatch* object) override;

 private:
  // The in-place frame that GetWindowContext hands out; its references are the site's.
  class Frame : public IOleInPlaceFrame {
   public:
    explicit Frame(CHtmlHostSite& site) : site_(site) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enter) override;
    STDMETHODIMP GetBorder(LPRECT border) override;
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS widths) override;
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS widths) override;
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR name) override;
    STDMETHODIMP InsertMenus(HMENU shared, LPOLEMENUGROUPWIDTHS widths) override;
    STDMETHODIMP SetMenu(HMENU shared, HOLEMENU descriptor, HWND active_object) override;
    STDMETHODIMP RemoveMenus(HMENU shared) override;
    STDMETHODIMP SetStatusText(LPCOLESTR text) override;
    STDMETHODIMP EnableModeless(BOOL enable) override;
    STDMETHODIMP TranslateAccelerator(LPMSG message, WORD id) override;

   private:
    CHtmlHostSite& site_;
  };

  CHtmlHostSite(HWND container, CHtmlHostHandler* handler);
  virtual ~CHtmlHostSite() = default;
  // The handler, or the base answers once detached.
  CHtmlHostHandler& Handler();

  LONG references_ = 1;
  HWND container_;
  CHtmlHostHandler* handler_;
  Frame frame_{*this};
};
