#include "tests/fakes/typing_rig.h"

#include <cstring>

#include "platform/error.h"
#include "store/macro_store.h"

namespace kv::fake {

std::size_t TimedKeyboard::send(const std::vector<KeyInput>& batch) {
  if (!accepts.empty()) {
    accept_next = accepts.front();
    accepts.erase(accepts.begin());
  }
  const std::size_t n = FakeKeyboard::send(batch);
  times.insert(times.end(), n, clock_.now_ms());
  return n;
}

std::int64_t TimedKeyboard::time_of(std::uint8_t vk) const {
  for (std::size_t i = 0; i < events.size(); ++i)
    if (!events[i].unicode && !events[i].up && events[i].vk == vk) return static_cast<std::int64_t>(times[i]);
  return -1;
}

namespace {

char us_char(std::uint8_t vk, bool shift) {
  if (vk >= 'A' && vk <= 'Z') return static_cast<char>(shift ? vk : vk - 'A' + 'a');
  if (vk >= '0' && vk <= '9') return shift ? ")!@#$%^&*("[vk - '0'] : static_cast<char>(vk);
  static const struct {
    std::uint8_t vk;
    char plain, shifted;
  } punct[] = {{0xBD, '-', '_'},  {0xBB, '=', '+'}, {0xDB, '[', '{'},  {0xDD, ']', '}'},
               {0xDC, '\\', '|'}, {0xBA, ';', ':'}, {0xDE, '\'', '"'}, {0xBC, ',', '<'},
               {0xBE, '.', '>'},  {0xBF, '/', '?'}, {0xC0, '`', '~'}};
  for (const auto& p : punct)
    if (p.vk == vk) return shift ? p.shifted : p.plain;
  if (vk == 0x20) return ' ';
  return 0;
}

}  // namespace

std::string typed_text(const std::vector<KeyInput>& events) {
  std::string out;
  bool shift = false, ctrl = false, alt = false;
  for (const KeyInput& e : events) {
    if (e.unicode) {
      if (!e.up) out += static_cast<char>(e.unit);
      continue;
    }
    if (e.vk == 0x10 || e.vk == 0x11 || e.vk == 0x12) {
      (e.vk == 0x10 ? shift : e.vk == 0x11 ? ctrl : alt) = !e.up;
      continue;
    }
    if (e.up) continue;
    const char c = us_char(e.vk, shift);
    if (c && !ctrl && !alt) {
      out += c;
      continue;
    }
    std::string mods;
    if (ctrl) mods += '^';
    if (alt) mods += '@';
    if (c) {
      out += "<" + mods + std::string(1, us_char(e.vk, shift)) + ">";
    } else {
      if (shift) mods += '~';
      out += "<" + mods + vk_trace_name(e.vk) + ">";
    }
  }
  return out;
}

TypingRig::TypingRig()
    : tmr1(loop.make_timer([this] { player.DelayTimerTick(); })),
      runner({profile, files, shell, journal, loop, [this](const std::string& s) { statuses.push_back(s); }}),
      player({sender, loop, loop, tmr1, profile, windows, shell, prompt, datetime,
              [this](int n) { runner.ProcessHotKey(n); }}) {
  runner.set_player(&player);
  windows.clock = &loop;
  sender.set_target_check(&target_check);
  runner.set_target_check(&target_check);
  journal.on_finished = [this](bool) { runner.RecorderFinished(); };
}

void TypingRig::route_keys_by_focus() {
  kb.focus = [this] { return windows.fg; };
  windows.on_foreground_change = [this] { kb.deliver(); };
}

int TypingRig::macro(const std::string& name, const std::string& script) {
  MacroStore store(profile);
  const int n = store.entries() + 1;
  const std::string s = macro_section(n);
  profile.write_string(s, keys::kName, name);
  profile.write_string(s, keys::kType, "4");
  profile.write_string(s, keys::kFileName, name + ".key");
  profile.write_string(keys::kMain, keys::kEntries, std::to_string(n));
  files.files[files.dir + name + ".key"] = script;
  return n;
}

std::string TypingRig::play(const std::string& script) {
  kb.clear_all();
  player.clear_script_value();
  player.SendKeys(script);
  return typed();
}

std::string TypingRig::play_error(const std::string& script) {
  try {
    play(script);
  } catch (const Error& e) {
    return e.what();
  }
  return "(no error)";
}

}  // namespace kv::fake
