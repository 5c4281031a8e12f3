#include "platform/win32/integrity_win.h"

#include <vector>

#include "platform/win32/adapters.h"
#include "platform/win32/handles.h"

namespace kv::win {

namespace {

std::optional<std::uint32_t> token_level(HANDLE token) {
  DWORD size = 0;
  GetTokenInformation(token, TokenIntegrityLevel, nullptr, 0, &size);
  if (size < sizeof(TOKEN_MANDATORY_LABEL)) return std::nullopt;
  std::vector<unsigned char> buf(size);
  if (!GetTokenInformation(token, TokenIntegrityLevel, buf.data(), size, &size)) return std::nullopt;
  const auto* label = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buf.data());
  PSID sid = label->Label.Sid;
  if (!sid || !IsValidSid(sid)) return std::nullopt;
  const UCHAR parts = *GetSidSubAuthorityCount(sid);
  if (parts == 0) return std::nullopt;
  return static_cast<std::uint32_t>(*GetSidSubAuthority(sid, parts - 1u));
}

std::optional<std::uint32_t> level_of(HANDLE process) {
  HANDLE t = nullptr;
  if (!OpenProcessToken(process, TOKEN_QUERY, &t)) return std::nullopt;
  const OwnedKernelHandle token(t);
  return token_level(token.get());
}

}  // namespace

std::optional<std::uint32_t> Win32Integrity::process_level(DWORD pid) {
  const OwnedKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  if (!process) return std::nullopt;
  return level_of(process.get());
}

std::optional<std::uint32_t> Win32Integrity::window_level(WindowHandle w) {
  DWORD pid = 0;
  if (!GetWindowThreadProcessId(to_hwnd(w), &pid) || !pid) return std::nullopt;
  if (pid == GetCurrentProcessId()) return own_level();
  return process_level(pid);
}

std::uint32_t Win32Integrity::own_level() {
  // A token we cannot read is taken for the usual level of a user's programs.
  return level_of(GetCurrentProcess()).value_or(kIntegrityMedium);
}

bool Win32Integrity::own_ui_access() {
  HANDLE t = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &t)) return false;
  const OwnedKernelHandle token(t);
  DWORD ui_access = 0, size = 0;
  if (!GetTokenInformation(token.get(), TokenUIAccess, &ui_access, sizeof ui_access, &size)) return false;
  return ui_access != 0;
}

}  // namespace kv::win
