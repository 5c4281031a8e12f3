#include "components/shell_link.h"

#include "platform/error.h"
#include "platform/text.h"

namespace kv {

std::string_view shell_folder_value_name(TShellFolder folder) {
  switch (folder) {
    case TShellFolder::sfNone:
      return {};
    case TShellFolder::sfDesktop:
      return "Desktop";
    case TShellFolder::sfFavorites:
      return "Favorites";
    case TShellFolder::sfFonts:
      return "Fonts";
    case TShellFolder::sfPersonal:
      return "Personal";
    case TShellFolder::sfPrograms:
      return "Programs";
    case TShellFolder::sfRecent:
      return "Recent";
    case TShellFolder::sfSendTo:
      return "SendTo";
    case TShellFolder::sfStartMenu:
      return "Start Menu";
    case TShellFolder::sfStartup:
      return "Startup";
    case TShellFolder::sfTemplates:
      return "Templates";
  }
  return {};
}

int show_command(TWindowState state) {
  switch (state) {
    case TWindowState::wsMinimized:
      return 7;
    case TWindowState::wsMaximized:
      return 3;
    case TWindowState::wsNormal:
      break;
  }
  return 1;
}

std::uint16_t link_hotkey_from_shortcut(ShortCut value) {
  unsigned mods = 0;
  if (value & kShiftBit) mods |= 1;
  if (value & kCtrlBit) mods |= 2;
  if (value & kAltBit) mods |= 4;
  return static_cast<std::uint16_t>((mods << 8) | (value & 0xFF));
}

std::string file_name_part(std::string_view path) {
  const std::size_t cut = path.find_last_of("\\:");
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string with_link_extension(std::string_view path) {
  std::string out(path);
  const std::string name = file_name_part(path);
  const std::size_t dot = name.rfind('.');
  const std::string ext = dot == std::string::npos ? std::string() : ascii_upper(name.substr(dot));
  if (ext != ".LNK") out += ".lnk";
  if (ascii_upper(file_name_part(out)) == ".LNK") return {};
  return out;
}

std::string TPBShellLink::folder_path() {
  folder_unknown_ = false;
  std::string path = folders_.registry_folder(shell_folder_value_name(shell_folder_));
  if (!path.empty()) return path;
  // Not listed in the registry: ask the shell rather than fall back to the drive's root.
  if (auto known = folders_.known_folder(shell_folder_); known && !known->empty()) return *known;
  folder_unknown_ = true;
  return {};
}

void TPBShellLink::SetShellFolder(TShellFolder folder) {
  if (folder == shell_folder_) return;
  shell_folder_ = folder;
  if (folder == TShellFolder::sfNone) {
    folder_unknown_ = false;
    return;
  }
  file_name_ = folder_path() + "\\" + file_name_part(file_name_);
}

void TPBShellLink::SetFileName(std::string_view text) {
  if (text == file_name_) return;
  std::string name(text);
  if (shell_folder_ != TShellFolder::sfNone) name = folder_path() + "\\" + file_name_part(text);
  file_name_ = with_link_extension(name);
}

void TPBShellLink::Save() {
  if (folder_unknown_)
    throw Error("The folder \"" + std::string(shell_folder_value_name(shell_folder_)) +
                "\" is not known on this system; no shortcut was written");
  const std::pair<const char*, const std::string*> texts[] = {{"description", &Description},
                                                              {"target", &Target},
                                                              {"working folder", &WorkingDir},
                                                              {"arguments", &Arguments},
                                                              {"icon file", &FileIcon.file_name}};
  for (const auto& [what, text] : texts) {
    // Cutting would silently make the link start something else.
    if (text->size() > kLinkTextMax)
      throw Error("The shortcut's " + std::string(what) + " is longer than 255 characters; no shortcut was written");
  }
  if (file_name_.empty()) throw Error(kLinkWriteFailed);
  writer_.save(ShellLinkData{Description, Target, WorkingDir, Arguments, show_cmd_, hotkey_, FileIcon.file_name,
                             FileIcon.index, file_name_});
}

}  // namespace kv
