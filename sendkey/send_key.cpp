#include "sendkey/send_key.h"

#include <algorithm>
#include <array>
#include <exception>
#include <iterator>
#include <utility>

#include "platform/error.h"
#include "platform/scope_exit.h"
#include "platform/text.h"

namespace kv {

namespace {

constexpr std::uint8_t kVkShift = 0x10;
constexpr std::uint8_t kVkCtrl = 0x11;
constexpr std::uint8_t kVkAlt = 0x12;
constexpr std::uint8_t kVkEnter = 0x0D;

struct KeyName {
  const char* name;
  std::uint8_t vk;
};

// Searched in this order; the first equal name wins.
constexpr std::array<KeyName, 37> kKeyNames{{
    {"CTRL", 0x11},   {"ALT", 0x12},   {"MENU", 0x12}, {"SHIFT", 0x10}, {"SPACE", 0x20},  {"F1", 0x70},
    {"F2", 0x71},     {"F3", 0x72},    {"F4", 0x73},   {"F5", 0x74},    {"F6", 0x75},     {"F7", 0x76},
    {"F8", 0x77},     {"F9", 0x78},    {"F10", 0x79},  {"F11", 0x7A},   {"F12", 0x7B},    {"INSERT", 0x2D},
    {"DELETE", 0x2E}, {"DEL", 0x2E},   {"HOME", 0x24}, {"END", 0x23},   {"PGUP", 0x21},   {"PGDN", 0x22},
    {"TAB", 0x09},    {"ENTER", 0x0D}, {"BKSP", 0x08}, {"PRTSC", 0x2C}, {"ESCAPE", 0x1B}, {"ESC", 0x1B},
    {"UP", 0x26},     {"DOWN", 0x28},  {"LEFT", 0x25}, {"RIGHT", 0x27}, {"DN", 0x28},     {"L", 0x25},
    {"R", 0x27},
}};

std::string counted_text(std::string_view text) {
  std::string out(1, static_cast<char>(text.size()));
  out.append(text);
  return out;
}

}  // namespace

SendKeyShared& send_key_shared() {
  static SendKeyShared shared;
  return shared;
}

int LookupKeyName(std::string_view name) {
  const std::string upper = ascii_upper(name);
  for (const KeyName& k : kKeyNames)
    if (upper == k.name) return k.vk;
  return -1;
}

TSendKey::TSendKey(Keyboard& keyboard, MessagePump& pump, KeyLibrary* library, SendKeyShared& shared)
    : keyboard_(keyboard), pump_(pump), library_(library), shared_(shared) {}

TSendKey::~TSendKey() {
  if (shared_.library_owner == this) {
    shared_.library_entry = nullptr;
    shared_.library_owner = nullptr;
  }
  if (library_ && library_->loaded()) library_->unload();
}

int TSendKey::Send(std::string_view text) {
  // Once the program is asked to end nothing more is typed.
  if (pump_.terminated()) return 0;
  text = text.substr(0, kMaxKeySequence);
  if (use_dll_) {
    if (shared_.library_entry) return shared_.library_entry(counted_text(text));
    if (library_ && (library_->loaded() || library_->load())) {
      if (KeyLibrary::Entry entry = library_->entry()) {
        shared_.library_entry = entry;
        shared_.library_owner = this;
        return entry(counted_text(text));
      }
      // A library without the export: our own typing takes over.
    }
  }
  if (text.empty()) return -1;
  PlayKeySequence(text);
  pump_.process_messages();
  return 0;
}

void TSendKey::SendText(std::string_view text) {
  if (text.empty() || pump_.terminated()) return;
  collecting_ = !use_dll_;
  {
    const ScopeExit done([this] {
      collecting_ = false;
      collected_.clear();
    });
    for (std::size_t i = 0; i < text.size(); ++i) {
      const char c = text[i];
      // The layout types a line feed as Ctrl+Enter (a sent mail, a page break): every line
      // break, CR LF included, is one Enter.
      if (c == '\r' || c == '\n') {
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        if (use_dll_)
          Send("{ENTER}");
        else
          PressKey(kVkEnter);
      } else if (use_dll_) {
        send_literal(c);
      } else {
        press_char(c);
      }
    }
    if (!use_dll_) send_batch(collected_);
  }
  if (!use_dll_) pump_.process_messages();
}

void TSendKey::send_literal(char c) {
  const bool special = c == '@' || c == '^' || c == '~';
  const bool was = shared_.tokens_only;
  if (special) shared_.tokens_only = true;
  const ScopeExit back([this, was] { shared_.tokens_only = was; });
  Send(std::string_view(&c, 1));
}

void TSendKey::PlayKeySequence(std::string_view text) {
  SendKeyShared& s = shared_;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    switch (c) {
      case '@':
        if (s.tokens_only)
          press_char(c);
        else
          s.pending_alt = true;
        break;
      case '^':
        if (s.tokens_only)
          press_char(c);
        else
          s.pending_ctrl = true;
        break;
      case '~':
        if (s.tokens_only)
          press_char(c);
        else
          s.pending_shift = true;
        break;
      case '{': {
        if (text.size() == 1) {
          press_char(c);
          break;
        }
        std::string name;
        std::size_t j = i + 1;
        for (;; ++j) {
          if (j >= text.size()) throw Error(kNoClosingBrackets);
          if (text[j] == '}') break;
          if (name.size() == kMaxKeyName) throw Error(kNoClosingBrackets);
          name += text[j];
        }
        const int vk = LookupKeyName(name);
        if (vk < 0) throw Error(kInvalidToken);
        // Case-sensitive on purpose: {alt} and {MENU} press the Alt key itself.
        if (name.find("ALT") != std::string::npos)
          s.pending_alt = true;
        else if (name.find("CTRL") != std::string::npos)
          s.pending_ctrl = true;
        else if (name.find("SHIFT") != std::string::npos)
          s.pending_shift = true;
        else
          PressKey(static_cast<std::uint16_t>(vk));
        i = j;
        break;
      }
      case '}':
        if (text.size() != 1) throw Error(kInvalidToken);
        press_char(c);
        break;
      default:
        press_char(c);
        break;
    }
  }
}

void TSendKey::press_char(char c) {
  const std::int16_t v = keyboard_.vk_key_scan(c);
  if (v == -1)
    press_unicode(c);
  else
    PressKey(static_cast<std::uint16_t>(v));
}

KeyInput TSendKey::key_event(std::uint8_t vk, bool up) {
  KeyInput e;
  e.vk = vk;
  e.scan = static_cast<std::uint16_t>(keyboard_.map_virtual_key(vk) & 0xFF);
  e.up = up;
  e.extended = is_extended_key(vk);
  return e;
}

void TSendKey::PressKey(std::uint16_t value) {
  const auto vk = static_cast<std::uint8_t>(value & 0xFF);
  const auto state = static_cast<std::uint8_t>(value >> 8);
  SendKeyShared& s = shared_;
  // Characters the layout types with Ctrl (or AltGr) held.
  switch (state) {
    case 2:
      s.pending_ctrl = true;
      break;
    case 3:
      s.pending_ctrl = s.pending_shift = true;
      break;
    case 6:
      s.pending_ctrl_alt = true;
      break;
    case 7:
      s.pending_ctrl_alt = s.pending_shift = true;
      break;
    default:
      break;
  }
  // With Ctrl held a capital needs no Shift: ^A and ^a are both Ctrl+A.
  const bool extra_shift = ((state & 1) != 0 && !s.pending_ctrl) || s.pending_shift;
  press_with_modifiers(key_event(vk, false), key_event(vk, true), extra_shift);
}

void TSendKey::press_with_modifiers(const KeyInput& down, const KeyInput& up, bool extra_shift) {
  SendKeyShared& s = shared_;
  std::vector<KeyInput> b;
  if (s.pending_alt) b.push_back(key_event(kVkAlt, false));
  if (s.pending_ctrl) b.push_back(key_event(kVkCtrl, false));
  if (s.pending_shift) b.push_back(key_event(kVkShift, false));
  if (s.pending_ctrl_alt) {
    b.push_back(key_event(kVkCtrl, false));
    b.push_back(key_event(kVkAlt, false));
  }
  if (extra_shift) b.push_back(key_event(kVkShift, false));
  b.push_back(down);
  b.push_back(up);
  if (extra_shift) b.push_back(key_event(kVkShift, true));
  if (s.pending_shift) b.push_back(key_event(kVkShift, true));
  if (s.pending_ctrl) b.push_back(key_event(kVkCtrl, true));
  if (s.pending_alt) b.push_back(key_event(kVkAlt, true));
  if (s.pending_ctrl_alt) {
    b.push_back(key_event(kVkCtrl, true));
    b.push_back(key_event(kVkAlt, true));
  }
  s.pending_shift = s.pending_ctrl = s.pending_alt = s.pending_ctrl_alt = false;
  if (collecting_)
    collected_.insert(collected_.end(), b.begin(), b.end());
  else
    send_batch(b);
}

// A character the layout has no key for is typed as itself; pending modifiers still apply.
void TSendKey::press_unicode(char c) {
  KeyInput down;
  down.unicode = true;
  down.unit = keyboard_.to_utf16(c);
  KeyInput up = down;
  up.up = true;
  press_with_modifiers(down, up, false);
}

void TSendKey::send_batch(std::vector<KeyInput>& batch) {
  if (target_check_) target_check_->check();
  const std::size_t sent = keyboard_.send(batch);
  if (sent) undelivered_ = true;
  for (std::size_t i = 0; i < sent && i < batch.size(); ++i) {
    const KeyInput& e = batch[i];
    if (e.unicode) continue;
    auto& down = shared_.keys_down;
    const auto it = std::find(down.begin(), down.end(), e.vk);
    if (e.up && it != down.end())
      down.erase(it);
    else if (!e.up && it == down.end())
      down.push_back(e.vk);
  }
  // The system took only part of the batch, or none: let go of what it pressed and stop.
  if (sent < batch.size()) {
    ReleaseHeldKeys();
    throw Error(kKeysRefused);
  }
}

void TSendKey::WaitDelivered() {
  if (!undelivered_) return;
  keyboard_.wait_until_delivered();
  undelivered_ = false;
}

void TSendKey::ReleaseHeldKeys() {
  if (shared_.keys_down.empty()) return;
  // Last pressed, first released.
  std::vector<KeyInput> ups;
  std::transform(shared_.keys_down.rbegin(), shared_.keys_down.rend(), std::back_inserter(ups),
                 [this](std::uint8_t vk) { return key_event(vk, true); });
  const std::size_t sent = keyboard_.send(ups);
  if (sent) undelivered_ = true;
  auto& down = shared_.keys_down;
  for (std::size_t i = 0; i < sent && i < ups.size(); ++i) down.erase(std::find(down.begin(), down.end(), ups[i].vk));
}

SenderRun::SenderRun(TSendKey& sender) : sender_(sender), uncaught_(std::uncaught_exceptions()) {
  SendKeyShared& s = sender_.shared();
  tokens_only_ = std::exchange(s.tokens_only, false);
  alt_ = std::exchange(s.pending_alt, false);
  ctrl_ = std::exchange(s.pending_ctrl, false);
  shift_ = std::exchange(s.pending_shift, false);
  ctrl_alt_ = std::exchange(s.pending_ctrl_alt, false);
}

SenderRun::~SenderRun() {
  sender_.ReleaseHeldKeys();
  if (std::uncaught_exceptions() > uncaught_) sender_.WaitDelivered();
  SendKeyShared& s = sender_.shared();
  s.tokens_only = tokens_only_;
  s.pending_alt = alt_;
  s.pending_ctrl = ctrl_;
  s.pending_shift = shift_;
  s.pending_ctrl_alt = ctrl_alt_;
}

}  // namespace kv
