// Stand-ins for the outside key library in the sender's adapter tests. Built twice: with its one
// export (ordinal 1), which answers 1000 times the counted text's length plus its first
// character, and without any export (KV_NO_EXPORT).
#include <windows.h>

#ifndef KV_NO_EXPORT
extern "C" __declspec(dllexport) int WINAPI kv_keylib_send(const unsigned char* counted) {
  return 1000 * counted[0] + (counted[0] ? counted[1] : 0);
}
#endif

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
  return TRUE;
}
