// SelfUpdaterDlg: the small dialog that the launcher's temporary copy shows while its worker (SelfUpdateJob,
// launcherupdate/SelfUpdateWorker.h) learns the announced version, then downloads, unpacks and installs the
// launcher's update package. It shows the package's file name and two progress bars and ends by itself when
// the worker is done; its result is the worker's state.
//
// Look: the skin "updater\updater_res\updater.ini" (read through the virtual files, so from the loose folder
// or from the pack "updater\updater_res.pak"; images named relative to the same folder):
//   [BACK] image, colorkey_r/_g/_b            background (the window takes its size) and the colour cut out
//   of
//                                             the window's shape
//   [TEXT_FILE] x, y, color_r/_g/_b, size (16), name ("Arial"), charset, bold, italic, underline
//   [FILE_PROGRESS] x, y, image               the package bar
//   [UPDATE_PROGRESS] x, y, image             the whole-update bar
// Without a readable skin or its background image: the plain look, 400 x 240, the name at (24, 177) in Arial
// 16, two framed bars 351 pixels wide.
//
// A second start while the update runs finds this dialog by its caption and its program (the temporary copy)
// and hands its session over to it; the dialog keeps the record (app/session/HandOver.h) for the launcher
// that the copy restarts.
//
// Closing early (Escape, Alt+F4) asks the worker to stop; the dialog ends once the worker has ended, so
// nothing it uses is freed under it. The worker is asked to stop and joined again when the dialog goes.
//
// Thread: user-interface thread; the worker runs on its own thread (SelfUpdateWorker.h).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "app/launcherupdate/SelfUpdateWorker.h"
#include "ui/host/NDialog.h"

class Dib;

// The dialog's window caption.
constexpr wchar_t kSelfUpdateDialogCaption[] = L"Updater";

class SelfUpdaterDlg : public NDialog {
 public:
  static constexpr int32_t kPlainWidth = 400;
  static constexpr int32_t kPlainHeight = 240;
  static constexpr int32_t kPlainBarWidth = 351;

  SelfUpdaterDlg();
  explicit SelfUpdaterDlg(const SelfUpdateJob::Options& options);
  ~SelfUpdaterDlg() override;

  // The worker's state once it ended; kSelfUpdateNotFinished before (a dialog that never ran is a failure).
  int result() const { return job_.result(); }
  bool skinned() const { return back_ != nullptr; }
  SelfUpdateJob& job() { return job_; }
  int32_t file_bar_width() const { return file_bar_width_; }
  int32_t update_bar_width() const { return update_bar_width_; }
  const std::wstring& shown_name() const { return shown_name_; }

  int32_t OnCreate() override;
  void OnDestroy() override;
  // The periodic hook: ends the dialog when the worker is done, follows its progress and its file name.
  void OnUpdate() override;
  void OnPaint(HDC dc, Dib* surface) override;
  // Escape and Alt+F4: the worker is asked to stop; the dialog ends when it has.
  void OnCancel() override;
  void OnOK() override;
  // A second start's hand-over: kept for the restarted launcher.
  void OnCopyData(COPYDATASTRUCT* data) override;

 private:
  struct Bar {
    int32_t x = 0, y = 0;
    Dib* image = nullptr;
  };
  bool LoadSkin();
  void ReleaseSkin();
  void CreateTextFont(const wchar_t* name,
                      int32_t size,
                      int32_t charset,
                      bool bold,
                      bool italic,
                      bool underline);
  int32_t FullWidth(const Bar& bar) const;
  void PaintPlain(HDC dc, int32_t width, int32_t height);
  void PaintSkinned(HDC dc);

  SelfUpdateJob job_;
  Dib* back_ = nullptr;
  COLORREF color_key_ = 0;
  HFONT font_ = nullptr;
  COLORREF text_color_ = 0;
  POINT text_ = {24, 177};
  Bar file_bar_;
  Bar update_bar_;
  int32_t file_bar_width_ = 0;
  int32_t update_bar_width_ = 0;
  std::wstring shown_name_;
  bool worker_started_ = false;
};

// Runs the dialog modally. Its worker fetches the launcher information first (the temporary copy knows only
// its command line, so the announced version would be 0 or stale) while the window is up; once the worker
// has ended, the version it learnt goes to the session (SetGameVersion). The worker's state:
// kSelfUpdateNoPackage when the launcher information could not be fetched, kSelfUpdateNotFinished when the
// dialog could not run.
SelfUpdateState RunSelfUpdaterDialog();
