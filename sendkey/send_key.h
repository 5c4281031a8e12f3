// TSendKey: turns key-sequence text ("^c", "~@{TAB}", "Hello") into key events for whichever
// window has the keyboard focus. Everything the program types goes through one instance.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/keyboard.h"
#include "platform/ports.h"

namespace kv {

inline constexpr const char* kNoClosingBrackets = "No Closing brackets";
inline constexpr const char* kInvalidToken = "Invalid token";
// Longer texts are played as their first this many characters.
inline constexpr std::size_t kMaxKeySequence = 255;
// Brace names have at most this many characters.
inline constexpr std::size_t kMaxKeyName = 7;

// State every sender shares for the life of the process. Pending modifiers outlive a text (and a
// macro): "^" at the end of one text applies to the first key of the next.
struct SendKeyShared {
  bool tokens_only = false;
  bool pending_alt = false;
  bool pending_ctrl = false;
  bool pending_shift = false;
  bool pending_ctrl_alt = false;
  KeyLibrary::Entry library_entry;
  const void* library_owner = nullptr;
  // Keys an injected batch pressed and nothing has released yet (only after a refused send),
  // in the order they went down.
  std::vector<std::uint8_t> keys_down;
};

// The process-wide instance.
SendKeyShared& send_key_shared();

// The key-name table: the virtual key of a brace name (letters a to z compared upper-cased),
// or -1 when the table has no such name.
int LookupKeyName(std::string_view name);

class TSendKey {
 public:
  TSendKey(Keyboard& keyboard, MessagePump& pump, KeyLibrary* library = nullptr,
           SendKeyShared& shared = send_key_shared());
  ~TSendKey();
  TSendKey(const TSendKey&) = delete;
  TSendKey& operator=(const TSendKey&) = delete;

  // Plays a key-sequence text, then processes pending messages once. Returns -1 for an empty
  // text, 0 when played here, or the library's own result. Raises "Invalid token" and
  // "No Closing brackets"; keys sent before the fault stay sent.
  int Send(std::string_view text);

  bool TokensOnly() const { return shared_.tokens_only; }
  void SetTokensOnly(bool on) { shared_.tokens_only = on; }
  bool UseDll() const { return use_dll_; }
  void SetUseDll(bool on) { use_dll_ = on; }

  // Releases any key we pressed that is still down (a batch the system cut short). Called when
  // a macro ends, whether normally or by an error.
  void ReleaseHeldKeys();

  SendKeyShared& shared() { return shared_; }

 private:
  void PlayKeySequence(std::string_view text);
  void press_char(char c);
  void PressKey(std::uint16_t value);
  void press_unicode(char c);
  // The pending modifiers down, the key, the modifiers up, as one batch; clears the pending flags.
  void press_with_modifiers(const KeyInput& down, const KeyInput& up, bool extra_shift);
  KeyInput key_event(std::uint8_t vk, bool up);
  void send_batch(std::vector<KeyInput>& batch);

  Keyboard& keyboard_;
  MessagePump& pump_;
  KeyLibrary* library_;
  SendKeyShared& shared_;
  bool use_dll_ = false;
};

}  // namespace kv
