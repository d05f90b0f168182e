#include "app/startup/LauncherGlobals.h"

LauncherGlobals& Launcher() {
  static LauncherGlobals globals;
  return globals;
}
