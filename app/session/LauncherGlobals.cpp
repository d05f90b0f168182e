#include "app/session/LauncherGlobals.h"

LauncherGlobals& Launcher() {
  static LauncherGlobals globals;
  return globals;
}
