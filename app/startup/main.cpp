// orvaneLauncher.exe: the game portal's launcher.
#include <windows.h>

#include "app/startup/CorvaneLauncherApp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  CorvaneLauncherApp app;
  app.InitInstance();
  return 0;
}
