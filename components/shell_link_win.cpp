#include "components/shell_link_win.h"

#include <windows.h>
// after windows.h, which they need
#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>

#include "platform/error.h"
#include "platform/win32/handles.h"

namespace kv::win {

std::string Win32ShellFolders::registry_folder(std::string_view value_name) {
  if (value_name.empty()) return {};
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                    KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
    return {};
  const OwnedRegKey key(opened);
  char buf[MAX_PATH * 2] = {};
  DWORD size = sizeof buf - 1;
  DWORD type = 0;
  const std::string name(value_name);
  const LONG r = RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
  if (r != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return {};
  std::string path(buf);
  if (type == REG_EXPAND_SZ) {
    char expanded[MAX_PATH * 2] = {};
    if (ExpandEnvironmentStringsA(path.c_str(), expanded, sizeof expanded)) path = expanded;
  }
  return path;
}

std::optional<std::string> Win32ShellFolders::known_folder(TShellFolder folder) {
  const KNOWNFOLDERID* id = nullptr;
  switch (folder) {
    case TShellFolder::sfDesktop:
      id = &FOLDERID_Desktop;
      break;
    case TShellFolder::sfFavorites:
      id = &FOLDERID_Favorites;
      break;
    case TShellFolder::sfFonts:
      id = &FOLDERID_Fonts;
      break;
    case TShellFolder::sfPersonal:
      id = &FOLDERID_Documents;
      break;
    case TShellFolder::sfPrograms:
      id = &FOLDERID_Programs;
      break;
    case TShellFolder::sfRecent:
      id = &FOLDERID_Recent;
      break;
    case TShellFolder::sfSendTo:
      id = &FOLDERID_SendTo;
      break;
    case TShellFolder::sfStartMenu:
      id = &FOLDERID_StartMenu;
      break;
    case TShellFolder::sfStartup:
      id = &FOLDERID_Startup;
      break;
    case TShellFolder::sfTemplates:
      id = &FOLDERID_Templates;
      break;
    case TShellFolder::sfNone:
      return std::nullopt;
  }
  PWSTR wide = nullptr;
  const HRESULT hr = SHGetKnownFolderPath(*id, KF_FLAG_CREATE, nullptr, &wide);
  const OwnedCoTaskMem path(wide);
  std::optional<std::string> out;
  if (SUCCEEDED(hr) && wide) {
    char buf[MAX_PATH * 2] = {};
    if (WideCharToMultiByte(CP_ACP, 0, wide, -1, buf, sizeof buf, nullptr, nullptr) > 0) out = std::string(buf);
  }
  return out;
}

namespace {

// The link object takes each text through a 256-byte ANSI buffer.
struct Text256 {
  explicit Text256(const std::string& s) { lstrcpynA(buf, s.c_str(), sizeof buf); }
  char buf[256];
};

}  // namespace

void Win32ShellLinkWriter::save(const ShellLinkData& link) {
  ComScope com;
  IShellLinkA* raw = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&raw))) ||
      !raw)
    throw Error(kLinkCreateFailed);
  ComPtr<IShellLinkA> shell_link(raw);
  IPersistFile* raw_file = nullptr;
  if (FAILED(shell_link.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&raw_file))) || !raw_file)
    throw Error(kLinkPersistFailed);
  ComPtr<IPersistFile> file(raw_file);

  IShellLinkA* l = shell_link.get();
  l->SetDescription(Text256(link.description).buf);
  l->SetPath(Text256(link.target).buf);
  l->SetWorkingDirectory(Text256(link.working_dir).buf);
  l->SetArguments(Text256(link.arguments).buf);
  l->SetShowCmd(link.show_cmd);
  l->SetHotkey(link.hotkey);
  l->SetIconLocation(Text256(link.icon_file).buf, link.icon_index);

  wchar_t wide[MAX_PATH] = {};
  if (link.file_name.empty() || MultiByteToWideChar(CP_ACP, 0, link.file_name.c_str(), -1, wide, MAX_PATH) == 0)
    throw Error(kLinkWriteFailed);
  if (FAILED(file.get()->Save(wide, TRUE))) throw Error(kLinkWriteFailed);
  // Both interfaces are released before COM is uninitialised (members end before `com`).
}

}  // namespace kv::win
