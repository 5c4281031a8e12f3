#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <utility>

#include "platform/error.h"
#include "sendkey/send_key.h"
#include "tests/fakes/fake_keyboard.h"
#include "tests/fakes/fake_system.h"

using namespace kv;
using namespace kv::fake;

namespace {

struct Rig {
  FakeKeyboard kb;
  FakeEventLoop loop;
  SendKeyShared shared;
  TSendKey sk{kb, loop, nullptr, shared};

  std::string send(std::string_view text) {
    kb.clear();
    sk.Send(text);
    return kb.trace();
  }
  std::string error_of(std::string_view text) {
    kb.clear();
    try {
      sk.Send(text);
    } catch (const Error& e) {
      return e.what();
    }
    return "(no error)";
  }
};

// A layout whose VkKeyScanA answers come from a table (for shift states no US key has).
class TableKeyboard : public FakeKeyboard {
 public:
  std::map<char, std::int16_t> table;
  std::int16_t vk_key_scan(char c) override {
    auto it = table.find(c);
    return it == table.end() ? FakeKeyboard::vk_key_scan(c) : it->second;
  }
};

class FakeLibrary : public KeyLibrary {
 public:
  bool loadable = true;
  bool has_export = true;
  int loads = 0, unloads = 0;
  std::vector<std::string> calls;
  bool load() override {
    ++loads;
    is_loaded = loadable;
    return loadable;
  }
  bool loaded() const override { return is_loaded; }
  Entry entry() override {
    if (!has_export) return {};
    return [this](const std::string& t) {
      calls.push_back(t);
      return 42;
    };
  }
  void unload() override {
    ++unloads;
    is_loaded = false;
  }
  bool is_loaded = false;
};

}  // namespace

TEST(SendKey, CharactersGoThroughTheLayoutWithTheirShiftState) {
  Rig r;
  EXPECT_EQ(r.send("a"), "+A -A");
  EXPECT_EQ(r.send("A"), "+Shift +A -A -Shift");
  EXPECT_EQ(r.send("1!"), "+1 -1 +Shift +1 -1 -Shift");
  // Ctrl pending: a capital gets no extra Shift.
  EXPECT_EQ(r.send("^A"), "+Ctrl +A -A -Ctrl");
  EXPECT_EQ(r.send("^a"), "+Ctrl +A -A -Ctrl");
  EXPECT_EQ(r.send("^c"), "+Ctrl +C -C -Ctrl");
  EXPECT_EQ(r.send("^@{DEL}"), "+Alt +Ctrl +Del -Del -Ctrl -Alt");
  // Pending Shift plus the layout's Shift: down twice, up twice.
  EXPECT_EQ(r.send("~a"), "+Shift +Shift +A -A -Shift -Shift");
  EXPECT_EQ(r.send("~@{TAB}"), "+Alt +Shift +Shift +Tab -Tab -Shift -Shift -Alt");
  // A modifier applies to the next key only.
  EXPECT_EQ(r.send("^ab"), "+Ctrl +A -A -Ctrl +B -B");
}

TEST(SendKey, BraceNamesAndTheirCaseRules) {
  Rig r;
  for (const char* esc : {"{ESCAPE}", "{Esc}", "{esc}"}) EXPECT_EQ(r.send(esc), "+Esc -Esc") << esc;
  EXPECT_EQ(r.send("{DN}{L}{R}{UP}"), "+Down -Down +Left -Left +Right -Right +Up -Up");
  EXPECT_EQ(r.send("{F1}{F12}{BKSP}{PRTSC}{SPACE}"), "+F1 -F1 +F12 -F12 +BkSp -BkSp +PrtSc -PrtSc +Space -Space");
  EXPECT_EQ(r.send("{PGUP}{PGDN}{HOME}{END}{INSERT}{DELETE}{ENTER}"),
            "+PgUp -PgUp +PgDn -PgDn +Home -Home +End -End +Ins -Ins +Del -Del +Enter -Enter");
  // Capital names set a pending modifier; any other spelling presses the key itself.
  EXPECT_EQ(r.send("{SHIFT}a"), "+Shift +Shift +A -A -Shift -Shift");
  EXPECT_EQ(r.send("{shift}a"), "+Shift -Shift +A -A");
  EXPECT_EQ(r.send("{CTRL}{F1}"), "+Ctrl +F1 -F1 -Ctrl");
  EXPECT_EQ(r.send("{ALT}x"), "+Alt +X -X -Alt");
  EXPECT_EQ(r.send("{alt}x"), "+Alt -Alt +X -X");
  EXPECT_EQ(r.send("{MENU}x"), "+Alt -Alt +X -X");
  // A lone brace is typed; inside a longer text it is syntax.
  EXPECT_EQ(r.send("{"), "+Shift +DB -DB -Shift");
  EXPECT_EQ(r.send("}"), "+Shift +DD -DD -Shift");
}

TEST(SendKey, MalformedBracesRaiseTheirMessagesAfterWhatWasAlreadySent) {
  Rig r;
  EXPECT_EQ(r.error_of("{ENTERX}"), "Invalid token");
  EXPECT_EQ(r.error_of("{ENTERXYZ}"), "No Closing brackets");
  EXPECT_EQ(r.error_of("{ENTERXY"), "No Closing brackets");
  EXPECT_EQ(r.error_of("{ENTER"), "No Closing brackets");
  EXPECT_EQ(r.error_of("{a"), "No Closing brackets");
  EXPECT_EQ(r.error_of("{}"), "Invalid token");
  EXPECT_EQ(r.error_of("a}"), "Invalid token");
  EXPECT_EQ(r.kb.trace(), "+A -A");
  EXPECT_EQ(r.error_of("}}"), "Invalid token");
  EXPECT_EQ(r.kb.trace(), "");
  // The rest of the text is not played; a modifier set before the fault stays pending.
  EXPECT_EQ(r.error_of("x^{NOPE}y"), "Invalid token");
  EXPECT_EQ(r.kb.trace(), "+X -X");
  EXPECT_EQ(r.send("c"), "+Ctrl +C -C -Ctrl");
  // Seven characters are fine when the brace follows.
  EXPECT_EQ(r.error_of("{ESCAPEX}"), "Invalid token");
}

TEST(SendKey, TokensOnlyTypesModifierCharactersButKeepsBraces) {
  Rig r;
  r.sk.SetTokensOnly(true);
  EXPECT_EQ(r.send("^@~"), "+Shift +6 -6 -Shift +Shift +2 -2 -Shift +Shift +C0 -C0 -Shift");
  EXPECT_EQ(r.send("{TAB}"), "+Tab -Tab");
  r.sk.SetTokensOnly(false);
  // One process-wide value: another instance sees it.
  TSendKey other(r.kb, r.loop, nullptr, r.shared);
  other.SetTokensOnly(true);
  EXPECT_TRUE(r.sk.TokensOnly());
}

TEST(SendKey, PendingModifiersOutliveATextAndAnInstance) {
  Rig r;
  EXPECT_EQ(r.send("^"), "");
  EXPECT_EQ(r.send("c"), "+Ctrl +C -C -Ctrl");
  EXPECT_EQ(r.send("@"), "");
  TSendKey other(r.kb, r.loop, nullptr, r.shared);
  r.kb.clear();
  other.Send("{F4}");
  EXPECT_EQ(r.kb.trace(), "+Alt +F4 -F4 -Alt");
}

TEST(SendKey, LayoutShiftStatesAddCtrlAndAltGrButNeverAltAlone) {
  TableKeyboard kb;
  FakeEventLoop loop;
  SendKeyShared shared;
  TSendKey sk(kb, loop, nullptr, shared);
  kb.table = {{'a', 0x241}, {'b', 0x342}, {'c', 0x643}, {'d', 0x744}, {'e', 0x445}, {'f', 0x546}};
  auto send = [&](const char* t) {
    kb.clear();
    sk.Send(t);
    return kb.trace();
  };
  EXPECT_EQ(send("a"), "+Ctrl +A -A -Ctrl");
  EXPECT_EQ(send("b"), "+Ctrl +Shift +Shift +B -B -Shift -Shift -Ctrl");
  EXPECT_EQ(send("c"), "+Ctrl +Alt +C -C -Ctrl -Alt");
  EXPECT_EQ(send("d"), "+Shift +Ctrl +Alt +Shift +D -D -Shift -Shift -Ctrl -Alt");
  EXPECT_EQ(send("e"), "+E -E");
  EXPECT_EQ(send("f"), "+Shift +F -F -Shift");
}

TEST(SendKey, ExtendedFlagOnlyForRealExtendedKeys) {
  Rig r;
  r.send("~@{F1}d^{ENTER}a{DEL}{UP}{HOME}{PGDN}{INSERT}");
  std::map<std::string, bool> ext;
  for (const KeyInput& e : r.kb.events) ext[vk_trace_name(e.vk)] = e.extended;
  for (const char* k : {"Shift", "Alt", "F1", "D", "Ctrl", "Enter", "A"}) EXPECT_FALSE(ext.at(k)) << k;
  for (const char* k : {"Del", "Up", "Home", "PgDn", "Ins"}) EXPECT_TRUE(ext.at(k)) << k;
  // Scan codes come from the layout.
  EXPECT_EQ(r.kb.events[0].scan, 0x38);  // Alt
  for (const KeyInput& e : r.kb.events) EXPECT_FALSE(e.unicode);
}

TEST(SendKey, CharacterOutsideTheLayoutIsTypedAsItself) {
  Rig r;
  EXPECT_EQ(r.send("\xe9"), "+u:e9 -u:e9");
  EXPECT_EQ(r.send("^\xe9"), "+Ctrl +u:e9 -u:e9 -Ctrl");
  for (const KeyInput& e : r.kb.events) EXPECT_NE(e.vk, 0xFF);
  EXPECT_EQ(r.send("x"), "+X -X");  // the Ctrl was consumed
}

TEST(SendKey, EachKeyPressIsOneBatchAndLengthIsCut) {
  Rig r;
  EXPECT_EQ(r.sk.Send(""), -1);
  EXPECT_TRUE(r.kb.events.empty());
  EXPECT_EQ(r.loop.process_calls, 0);
  r.kb.clear();
  EXPECT_EQ(r.sk.Send("^AbC"), 0);
  ASSERT_EQ(r.kb.batches.size(), 3u);
  EXPECT_EQ(r.kb.batches[0].size(), 4u);  // Ctrl, A down and up, Ctrl
  EXPECT_EQ(r.kb.batches[2].size(), 4u);  // Shift, C down and up, Shift
  EXPECT_EQ(r.loop.process_calls, 1);     // messages once per text
  r.kb.clear();
  r.sk.Send(std::string(300, 'a'));
  EXPECT_EQ(r.kb.batches.size(), 255u);
  // The cut happens before parsing: a brace name past the cut is not seen.
  EXPECT_EQ(r.error_of(std::string(254, 'a') + "{ENTER}"), "No Closing brackets");
}

TEST(SendKey, KeysOfABatchTheSystemCutShortAreReleased) {
  Rig r;
  r.kb.accept_next = 2;  // Ctrl down and C down go through, the rest is refused
  EXPECT_EQ(r.error_of("^c"), kKeysRefused);
  EXPECT_EQ(r.kb.trace(), "+Ctrl +C -C -Ctrl");
  EXPECT_TRUE(r.kb.keys_left_down().empty());
  EXPECT_EQ(r.kb.batches.size(), 2u);

  // A release that is refused too is retried when the macro ends.
  class Refusing : public FakeKeyboard {
   public:
    std::vector<int> accepts;  // per batch, from the front
    std::size_t send(const std::vector<KeyInput>& b) override {
      if (!accepts.empty()) {
        accept_next = accepts.front();
        accepts.erase(accepts.begin());
      }
      return FakeKeyboard::send(b);
    }
  } kb;
  FakeEventLoop loop;
  SendKeyShared shared;
  TSendKey sk(kb, loop, nullptr, shared);
  kb.accepts = {1, 0};  // Shift down only, then the release refused
  EXPECT_THROW(sk.Send("~x"), Error);
  EXPECT_EQ(kb.keys_left_down(), (std::set<std::uint8_t>{0x10}));
  sk.ReleaseHeldKeys();
  EXPECT_TRUE(kb.keys_left_down().empty());
  EXPECT_TRUE(shared.keys_down.empty());
}

TEST(SendKey, OutsideLibraryWhenUseDllIsSet) {
  FakeKeyboard kb;
  FakeEventLoop loop;
  SendKeyShared shared;
  FakeLibrary lib;
  {
    TSendKey sk(kb, loop, &lib, shared);
    sk.Send("a");
    EXPECT_EQ(lib.loads, 0) << "loaded although UseDll is off";
    sk.SetUseDll(true);
    lib.loadable = false;
    kb.clear();
    EXPECT_EQ(sk.Send("ab"), 0);
    EXPECT_EQ(kb.trace(), "+A -A +B -B");
    sk.Send("a");
    EXPECT_EQ(lib.loads, 2) << "a failed load is tried again at the next call";
    // Loaded, but without the export: our own typing.
    lib.loadable = true;
    lib.has_export = false;
    kb.clear();
    EXPECT_EQ(sk.Send("b"), 0);
    EXPECT_EQ(kb.trace(), "+B -B");
    lib.has_export = true;
    kb.clear();
    EXPECT_EQ(sk.Send("hi"), 42);
    EXPECT_EQ(sk.Send(""), 42);
    EXPECT_EQ(lib.calls, (std::vector<std::string>{std::string("\x02hi", 3), std::string(1, '\0')}));
    EXPECT_TRUE(kb.events.empty());
    EXPECT_EQ(sk.Send(std::string(300, 'x')), 42);
    EXPECT_EQ(static_cast<unsigned char>(lib.calls.back()[0]), 255u);
    EXPECT_EQ(lib.calls.back().size(), 256u);
    // The entry point is process-wide.
    TSendKey other(kb, loop, nullptr, shared);
    other.SetUseDll(true);
    EXPECT_EQ(other.Send("z"), 42);
  }
  EXPECT_EQ(lib.unloads, 1);
  // Once its owner freed the library the entry point is forgotten, not called.
  TSendKey later(kb, loop, nullptr, shared);
  later.SetUseDll(true);
  kb.clear();
  EXPECT_EQ(later.Send("q"), 0);
  EXPECT_EQ(kb.trace(), "+Q -Q");
}

TEST(SendKey, KeyNameTable) {
  EXPECT_EQ(LookupKeyName("ctrl"), 0x11);
  EXPECT_EQ(LookupKeyName("Menu"), 0x12);
  EXPECT_EQ(LookupKeyName("f10"), 0x79);
  EXPECT_EQ(LookupKeyName("Del"), 0x2E);
  EXPECT_EQ(LookupKeyName("escape"), 0x1B);
  EXPECT_EQ(LookupKeyName("dn"), 0x28);
  EXPECT_EQ(LookupKeyName(""), -1);
  EXPECT_EQ(LookupKeyName("F13"), -1);
  EXPECT_EQ(LookupKeyName("\xc4SC"), -1);  // only a to z change case
}

TEST(SendKey, EveryKeyNameOfTheTablePressesItsKeyInAnyCase) {
  const std::pair<const char*, int> table[] = {
      {"MENU", 0x12},  {"SPACE", 0x20},  {"F1", 0x70},     {"F2", 0x71},     {"F3", 0x72},    {"F4", 0x73},
      {"F5", 0x74},    {"F6", 0x75},     {"F7", 0x76},     {"F8", 0x77},     {"F9", 0x78},    {"F10", 0x79},
      {"F11", 0x7A},   {"F12", 0x7B},    {"INSERT", 0x2D}, {"DELETE", 0x2E}, {"DEL", 0x2E},   {"HOME", 0x24},
      {"END", 0x23},   {"PGUP", 0x21},   {"PGDN", 0x22},   {"TAB", 0x09},    {"ENTER", 0x0D}, {"BKSP", 0x08},
      {"PRTSC", 0x2C}, {"ESCAPE", 0x1B}, {"ESC", 0x1B},    {"UP", 0x26},     {"DOWN", 0x28},  {"LEFT", 0x25},
      {"RIGHT", 0x27}, {"DN", 0x28},     {"L", 0x25},      {"R", 0x27},
  };
  Rig r;
  for (const auto& [name, vk] : table) {
    std::string lower(name);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const std::string& written : {std::string(name), lower}) {
      r.kb.clear();
      r.sk.Send("{" + written + "}");
      ASSERT_EQ(r.kb.events.size(), 2u) << written;
      EXPECT_EQ(r.kb.events[0].vk, vk) << written;
      EXPECT_FALSE(r.kb.events[0].up);
      EXPECT_EQ(r.kb.events[1].vk, vk) << written;
      EXPECT_TRUE(r.kb.events[1].up);
    }
  }
  // The three modifier names, written in capitals, hold their key for the next key only.
  EXPECT_EQ(r.send("{CTRL}x{ALT}x{SHIFT}1x"),
            "+Ctrl +X -X -Ctrl +Alt +X -X -Alt +Shift +Shift +1 -1 -Shift -Shift +X -X");
  EXPECT_EQ(r.send("{ctrl}{Shift}"), "+Ctrl -Ctrl +Shift -Shift");
  EXPECT_EQ(LookupKeyName("CTRL"), 0x11);
  EXPECT_EQ(LookupKeyName("ALT"), 0x12);
  EXPECT_EQ(LookupKeyName("SHIFT"), 0x10);
}
