// The typing side of start-up: the key-sequence sender SendKey1 (in the wizard's place), and,
// once the manager window exists, the run-time prompt and the script player.
#pragma once
// Complete types for the App members these create (App is destroyed where this is included).
#include "engine/script_player.h"
#include "forms/getvar_win.h"
#include "platform/win32/integrity_win.h"
#include "platform/win32/keyboard_win.h"
#include "sendkey/send_key.h"
#include "sendkey/target_check.h"

namespace kv::win {

struct App;

void create_sender(App& a);
// Needs the manager window (its delay timer) and the runner.
void create_prompt_and_player(App& a);
// Before the manager window goes.
void destroy_typing(App& a);

}  // namespace kv::win
