#include "app/startup/CorvaneLauncherApp.h"

#include <ole2.h>

#include "app/session/LauncherGlobals.h"
#include "app/startup/Startup.h"
#include "app/system/CrashDump.h"
#include "app/system/PowerOff.h"
#include "app/system/RealShutdownRequest.h"
#include "app/windows/orvaneLauncherDlg.h"
#include "ui/host/NDialog.h"

BOOL CorvaneLauncherApp::InitInstance() {
  InstallCrashDumpFilter();
  // The web views are OLE controls.
  HRESULT ole = OleInitialize(nullptr);
  SetShutdownRequest(&RealShutdownRequest);
  if (RunStartup(RealStartupSteps())) {
    InstallLauncherPresenters();
    orvaneLauncherDlg dialog;
    Launcher().MainDialog = &dialog;
    SetMainDialog(&dialog);
    dialog.SetSkin(L"base", L"base");
    if (dialog.DoModal() == -1)
      RealStartupSteps().ShowErrorBox(L"cannot load resource");
    RunShutdown(RealStartupSteps());
    SetMainDialog(nullptr);
  }
  if (SUCCEEDED(ole))
    OleUninitialize();
  return FALSE;
}
