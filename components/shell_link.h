// TPBShellLink: the properties of a shell link (.lnk) file and their rules: where the file goes
// (a special folder of the current user), its name, the window state and the hotkey in the
// shell's own encodings. Saving goes through a ShellLinkWriter (the Win32 shell link object).
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "store/shortcut.h"

namespace kv {

enum class TShellFolder {
  sfNone,
  sfDesktop,
  sfFavorites,
  sfFonts,
  sfPersonal,
  sfPrograms,
  sfRecent,
  sfSendTo,
  sfStartMenu,
  sfStartup,
  sfTemplates
};

// The value under HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders that
// holds the folder's path; empty for sfNone.
std::string_view shell_folder_value_name(TShellFolder folder);

// Where the special folders of the current user are.
class ShellFolderSource {
 public:
  virtual ~ShellFolderSource() = default;
  // The registry's Shell Folders value; empty when it is missing.
  virtual std::string registry_folder(std::string_view value_name) = 0;
  // The shell's known-folder service; nothing when it does not know the folder either.
  virtual std::optional<std::string> known_folder(TShellFolder folder) = 0;
};

enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
// Show commands: SW_SHOWNORMAL, SW_SHOWMINNOACTIVE, SW_SHOWMAXIMIZED.
int show_command(TWindowState state);

// The shell's link hotkey word: virtual key in the low byte, Shift 1, Ctrl 2, Alt 4 in the
// high byte.
std::uint16_t link_hotkey_from_shortcut(ShortCut value);

// What follows the last backslash or colon.
std::string file_name_part(std::string_view path);
// ".lnk" appended unless the extension already is .lnk (any case); empty when nothing but
// the extension is left.
std::string with_link_extension(std::string_view path);

struct TFileIcon {
  std::string file_name;
  int index = 0;
};

// Everything Save hands to the shell link object, in its encodings.
struct ShellLinkData {
  std::string description;
  std::string target;
  std::string working_dir;
  std::string arguments;
  int show_cmd = 1;
  std::uint16_t hotkey = 0;
  std::string icon_file;
  int icon_index = 0;
  std::string file_name;
};

// Writes the link file; raises kv::Error with the shell link's messages.
class ShellLinkWriter {
 public:
  virtual ~ShellLinkWriter() = default;
  virtual void save(const ShellLinkData& link) = 0;
};

// The three messages of a failed save (the program's own texts, in the ANSI code page).
inline constexpr const char* kLinkCreateFailed =
    "\"CoCreateInstance\" a \xE9"
    "chou\xE9.";
inline constexpr const char* kLinkPersistFailed =
    "\"PersistFile QueryInterface\" a \xE9"
    "chou\xE9.";
inline constexpr const char* kLinkWriteFailed =
    "Erreur en \xE9"
    "criture.";
// Each text goes to the link object through a 256-byte buffer.
inline constexpr std::size_t kLinkTextMax = 255;

class TPBShellLink {
 public:
  TPBShellLink(ShellFolderSource& folders, ShellLinkWriter& writer) : folders_(folders), writer_(writer) {}

  std::string Target, Arguments, WorkingDir, Description;
  TFileIcon FileIcon;

  const std::string& FileName() const { return file_name_; }
  void SetFileName(std::string_view text);
  void SetShellFolder(TShellFolder folder);
  void SetWindowState(TWindowState state) { show_cmd_ = show_command(state); }
  void SetHotKey(ShortCut value) { hotkey_ = link_hotkey_from_shortcut(value); }

  // Writes the link file (an existing one is overwritten). Refuses, writing nothing, when the
  // special folder is unknown or a text does not fit the link object's buffers.
  void Save();

 private:
  // The folder's path; records whether it could be found.
  std::string folder_path();

  ShellFolderSource& folders_;
  ShellLinkWriter& writer_;
  std::string file_name_;
  TShellFolder shell_folder_ = TShellFolder::sfNone;
  bool folder_unknown_ = false;
  int show_cmd_ = 1;
  std::uint16_t hotkey_ = 0;
};

}  // namespace kv
