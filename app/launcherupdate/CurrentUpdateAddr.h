// The update address as the command line gave it, taken before the launcher-info ini's value replaced the
// session's (start-up copies it once); the server selection downloads its list from there.
//
// Thread: the user-interface thread. Start-up sets it once (tests set and clear it).
#pragma once

// The address, at most 1023 characters; "" until start-up sets it.
const wchar_t* CurrentUpdateAddr();
// Copies `address` (null: ""); an address of 1024 characters or more leaves "".
void SetCurrentUpdateAddr(const wchar_t* address);
