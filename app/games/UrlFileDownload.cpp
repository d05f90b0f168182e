#include "app/games/UrlFileDownload.h"

#include <urlmon.h>

#include <mutex>

#include "base/CriticalSection.h"
#include "ui/browser/ComPtr.h"

namespace {

constexpr DWORD kLimitCheckMs = 100;

// Ends one download once its limit has passed. Lives on the calling thread's stack for the length of the call.
// Threads: the calling thread makes every call but AbortWhenLate (a timer-queue thread); lock_ guards
// binding_, late_ and abort_sent_.
class LimitCallback : public IBindStatusCallback {
 public:
  explicit LimitCallback(DWORD limit_ms) : limit_ms_(limit_ms) {}
  ~LimitCallback() = default;
  LimitCallback(const LimitCallback&) = delete;
  LimitCallback& operator=(const LimitCallback&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr)
      return E_POINTER;
    bool known = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IBindStatusCallback);
    *object = known ? static_cast<IBindStatusCallback*>(this) : nullptr;
    return known ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD, IBinding* binding) override {
    std::lock_guard<CriticalSection> hold(lock_);
    binding_ = ComPtr<IBinding>::Share(binding);
    return TakeLate() ? E_ABORT : S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPriority(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnLowResource(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnProgress(ULONG, ULONG, ULONG, LPCWSTR) override { return ContinueOrAbort(); }
  HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT, LPCWSTR) override {
    std::lock_guard<CriticalSection> hold(lock_);
    binding_.Reset();
    return S_OK;
  }
  // The binding flags stay as the system call sets them.
  HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD*, BINDINFO*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) override {
    return ContinueOrAbort();
  }
  HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID, IUnknown*) override { return S_OK; }

  // Timer-queue thread: a server that reports nothing gives no callback a chance to say E_ABORT.
  void AbortWhenLate() {
    ComPtr<IBinding> running;
    {
      std::lock_guard<CriticalSection> hold(lock_);
      if (!TakeLate() || !binding_ || abort_sent_)
        return;
      abort_sent_ = true;
      running = ComPtr<IBinding>::Share(binding_.get());
    }
    // Outside the lock: the binding may call back into this object on the downloading thread meanwhile.
    running->Abort();
  }
  // True once the limit ended the transfer.
  bool late() {
    std::lock_guard<CriticalSection> hold(lock_);
    return late_;
  }

 private:
  // Marks the transfer late once the limit has passed (unsigned difference: right across a tick wrap).
  bool TakeLate() {
    if (GetTickCount() - start_ > limit_ms_)
      late_ = true;
    return late_;
  }
  HRESULT ContinueOrAbort() {
    std::lock_guard<CriticalSection> hold(lock_);
    return TakeLate() ? E_ABORT : S_OK;
  }

  const DWORD limit_ms_;
  const DWORD start_ = GetTickCount();
  CriticalSection lock_;
  bool late_ = false;
  bool abort_sent_ = false;
  ComPtr<IBinding> binding_;  // while the binding runs
};

VOID CALLBACK CheckLimit(PVOID callback, BOOLEAN) {
  static_cast<LimitCallback*>(callback)->AbortWhenLate();
}

}  // namespace

int DownloadUrlToFile(const wchar_t* url, const wchar_t* path, DWORD limit_ms) {
  LimitCallback callback(limit_ms);
  HANDLE timer = nullptr;
  CreateTimerQueueTimer(&timer, nullptr, &CheckLimit, &callback, kLimitCheckMs, kLimitCheckMs,
                        WT_EXECUTEDEFAULT);
  const HRESULT result = URLDownloadToFileW(nullptr, url, path, 0, &callback);
  // Waits for a check that is running: the callback ends with this function.
  if (timer != nullptr)
    DeleteTimerQueueTimer(nullptr, timer, INVALID_HANDLE_VALUE);
  if (result == S_OK)
    return kUrlFileDownloaded;
  return callback.late() ? kUrlFileTimedOut : kUrlFileFailed;
}
