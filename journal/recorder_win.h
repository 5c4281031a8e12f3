// Recorder: the journal record/playback control of Keyvane.exe (the recorder over Win32 hooks,
// SendInput and a waitable timer).
#pragma once
#include <memory>

#include "platform/journal.h"

namespace kv::win {

std::unique_ptr<JournalControl> make_recorder();

}  // namespace kv::win
