// The Win32 side of TPBShellLink: special folders from the registry's Shell Folders key (then
// the known-folder service), and Save through the shell link object (IShellLinkA and
// IPersistFile).
#pragma once
#include "components/shell_link.h"

namespace kv::win {

class Win32ShellFolders : public ShellFolderSource {
 public:
  std::string registry_folder(std::string_view value_name) override;
  std::optional<std::string> known_folder(TShellFolder folder) override;
};

class Win32ShellLinkWriter : public ShellLinkWriter {
 public:
  void save(const ShellLinkData& link) override;
};

// A link component with its Win32 services: the window's Shellink.
class ShellLinkWin {
 public:
  ShellLinkWin() : link(folders, writer) {}
  Win32ShellFolders folders;
  Win32ShellLinkWriter writer;
  TPBShellLink link;
};

}  // namespace kv::win
