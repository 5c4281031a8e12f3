// ProcessHotKey: runs macro n by its kind. Every way of starting a macro ends here.
#pragma once
#include <functional>
#include <string>

#include "platform/journal.h"
#include "platform/ports.h"
#include "sendkey/target_check.h"

namespace kv {

// What a script run needs from the script player.
class ScriptPlayerEntry {
 public:
  virtual ~ScriptPlayerEntry() = default;
  // Plays a whole script before it returns; errors reach the caller.
  virtual void SendKeys(const std::string& script) = 0;
  // The script value starts empty for every script file run.
  virtual void clear_script_value() = 0;
};

inline constexpr const char* kStatusNoRecord = "NoRecord";
inline constexpr const char* kStatusTrue = "True";

class MacroRunner {
 public:
  struct Deps {
    ProfileStore& profile;
    FileSystem& files;
    Shell& shell;
    JournalControl& journal;
    MessagePump& pump;
    // RecordFinished of the host.
    std::function<void(const std::string& status)> record_finished;
  };

  explicit MacroRunner(Deps deps) : d_(std::move(deps)) {}

  void set_player(ScriptPlayerEntry* player) { player_ = player; }
  // Asked before a playback starts; none by default.
  void set_target_check(TargetCheck* check) { target_check_ = check; }

  // Runs macro n; errors are not caught here.
  void ProcessHotKey(int n);
  // Plays the advanced script stored in the file at path.
  void PlayScriptFile(const std::string& path);

  // The journal control's end of a playback or recording: the flag goes up, "True" is reported.
  void RecorderFinished();

  bool journal_idle() const { return journal_idle_; }

 private:
  // Reports a run's end to the host, unless it ran inside another run.
  void report(const char* status);

  Deps d_;
  ScriptPlayerEntry* player_ = nullptr;
  TargetCheck* target_check_ = nullptr;
  // False while a journal playback started by the runner is running.
  bool journal_idle_ = false;
  // ProcessHotKey calls in progress: runs nest by processing messages.
  int runs_ = 0;
};

// A script file as one text: its lines, each (the last one included) followed by CR LF.
// Lines end at CR LF, LF or CR; the text ends at the first NUL.
std::string join_script_lines(const std::string& file_content);

}  // namespace kv
