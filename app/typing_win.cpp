#include "app/typing_win.h"

#include "app/app_win.h"
#include "engine/script_player.h"
#include "forms/getvar_win.h"
#include "forms/main_form_win.h"
#include "platform/win32/keyboard_win.h"
#include "sendkey/send_key.h"

namespace kv::win {

void create_sender(App& a) {
  a.keyboard = std::make_unique<Win32Keyboard>();
  a.key_library = std::make_unique<Win32KeyLibrary>(a.program_dir);
  a.send_key = std::make_unique<TSendKey>(*a.keyboard, a.pump, a.key_library.get());
  a.integrity = std::make_unique<Win32Integrity>();
  a.target_check = std::make_unique<TargetCheck>(a.windows, *a.integrity);
  a.send_key->set_target_check(a.target_check.get());
}

void create_prompt_and_player(App& a) {
  a.get_var = std::make_unique<GetVarForm>(a.pump);
  a.player = std::make_unique<ScriptPlayer>(ScriptPlayer::Deps{*a.send_key, a.pump, a.clock, a.main_form->delay_timer(),
                                                               a.profile, a.windows, a.shell, *a.get_var, a.datetime,
                                                               [](int n) { app().ProcessHotKey(n); }});
  a.runner->set_player(a.player.get());
  a.runner->set_target_check(a.target_check.get());
  a.main_form->on_delay_tick = [] {
    if (app().player) app().player->DelayTimerTick();
  };
}

void destroy_typing(App& a) {
  if (a.main_form) a.main_form->on_delay_tick = nullptr;
  if (a.runner) {
    a.runner->set_player(nullptr);
    a.runner->set_target_check(nullptr);
  }
  a.player.reset();
  a.get_var.reset();
  a.send_key.reset();
  a.target_check.reset();
  a.integrity.reset();
  a.key_library.reset();
  a.keyboard.reset();
}

}  // namespace kv::win
