#include "app/single_instance_win.h"

#include "app/start_plan.h"

namespace kv::win {

namespace {
constexpr const char* kMutexName = "Local\\Keyvane.Resident";
constexpr const char* kHostClass = "TKeyvane";
// How long a new start waits for the resident's host to appear (it may be starting itself) and
// for its answer.
constexpr DWORD kFindHostMs = 3000;
constexpr UINT kAnswerMs = 5000;

BOOL CALLBACK find_resident(HWND w, LPARAM out) {
  char cls[16] = {};
  if (GetClassNameA(w, cls, sizeof cls) && lstrcmpA(cls, kHostClass) == 0 && GetPropA(w, kResidentHostProp)) {
    *reinterpret_cast<HWND*>(out) = w;
    return FALSE;
  }
  return TRUE;
}

HWND resident_host() {
  HWND found = nullptr;
  EnumWindows(find_resident, reinterpret_cast<LPARAM>(&found));
  return found;
}
}  // namespace

SessionClaim::SessionClaim() {
  mutex_.reset(CreateMutexA(nullptr, FALSE, kMutexName));
  taken_ = mutex_ && GetLastError() == ERROR_ALREADY_EXISTS;
}

bool resident_running() {
  OwnedKernelHandle m(OpenMutexA(SYNCHRONIZE, FALSE, kMutexName));
  return static_cast<bool>(m);
}

bool hand_over_to_resident(const std::vector<std::string>& arguments) {
  HWND host = resident_host();
  for (const DWORD start = GetTickCount(); !host && GetTickCount() - start < kFindHostMs;) {
    Sleep(50);
    host = resident_host();
  }
  if (!host) return false;
  DWORD pid = 0;
  GetWindowThreadProcessId(host, &pid);
  // The resident brings its list window to the front: only a process the user started may.
  if (pid) AllowSetForegroundWindow(pid);
  std::string payload = encode_hand_over(arguments);
  COPYDATASTRUCT data{kHandOverTag, static_cast<DWORD>(payload.size()), payload.data()};
  DWORD_PTR answer = 0;
  return SendMessageTimeoutA(host, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, kAnswerMs,
                             &answer) != 0 &&
         answer == TRUE;
}

}  // namespace kv::win
