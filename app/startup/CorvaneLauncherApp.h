// The launcher program's application object: its start runs the whole session (start-up, the main dialog,
// shutdown) and always answers FALSE, so that the process ends when it returns.
#pragma once

#include <windows.h>

class CorvaneLauncherApp {
 public:
  BOOL InitInstance();
};
