#include "base/ModulePin.h"

#include <windows.h>

bool PinOwnModule() {
  HMODULE module = nullptr;
  // The address of this function lies in the module that linked this copy of it.
  return GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                            reinterpret_cast<LPCWSTR>(&PinOwnModule), &module) != FALSE;
}
