#include "triggers/title_poll.h"

#include <optional>

#include "engine/find_titled_window.h"
#include "platform/error.h"
#include "store/macro.h"

namespace kv {

namespace {

std::vector<std::string> split_commas(const std::string& text) {
  std::vector<std::string> out;
  if (text.empty()) return out;
  std::size_t i = 0;
  for (;;) {
    const std::size_t c = text.find(',', i);
    out.push_back(text.substr(i, c == std::string::npos ? std::string::npos : c - i));
    if (c == std::string::npos) return out;
    i = c + 1;
  }
}

std::optional<WindowHandle> parse_handle(const std::string& entry) {
  if (entry.empty() || entry.size() > 10) return std::nullopt;
  std::uint64_t v = 0;
  for (char c : entry) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + static_cast<unsigned>(c - '0');
  }
  if (v > 0xFFFFFFFFu) return std::nullopt;
  return static_cast<WindowHandle>(v);
}

}  // namespace

bool found_handle_contains(const std::string& found, WindowHandle handle) {
  const std::string h = std::to_string(handle);
  for (const std::string& e : split_commas(found))
    if (e == h) return true;
  return false;
}

std::string append_found_handle(const std::string& found, WindowHandle handle,
                                const std::function<HandleStanding(const std::string& entry)>& standing) {
  std::vector<std::string> entries = split_commas(found);
  entries.push_back(std::to_string(handle));
  std::size_t length = entries.size() - 1;
  for (const auto& e : entries) length += e.size();
  std::vector<bool> keep(entries.size(), true);
  if (length > kFoundHandleLimit) {
    std::vector<HandleStanding> rank;
    for (std::size_t i = 0; i + 1 < entries.size(); ++i) rank.push_back(standing(entries[i]));
    for (HandleStanding r : {HandleStanding::Gone, HandleStanding::Retitled, HandleStanding::Showing}) {
      for (std::size_t i = 0; i < rank.size() && length > kFoundHandleLimit; ++i) {
        if (rank[i] != r) continue;
        keep[i] = false;
        length -= entries[i].size() + 1;
      }
    }
  }
  std::string out;
  bool first = true;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (!keep[i]) continue;
    if (!first) out += ',';
    out += entries[i];
    first = false;
  }
  return out;
}

WindowHandle TitlePoll::Snapshot::find(const std::string& wanted) const {
  for (const auto& [h, t] : windows)
    if (t == wanted) return h;
  return 0;
}

const std::string* TitlePoll::Snapshot::title(WindowHandle h) const {
  for (const auto& [w, t] : windows)
    if (w == h) return &t;
  return nullptr;
}

TitlePoll::Snapshot TitlePoll::snapshot() {
  Snapshot s;
  if (!titles_notified_) {
    for (WindowHandle h : d_.windows.top_level_windows())
      s.windows.emplace_back(h, title_comparison_form(d_.windows.window_title(h, kTitleReadLimit)));
    return s;
  }
  std::map<WindowHandle, std::string> now;
  for (WindowHandle h : d_.windows.top_level_windows()) {
    auto known = titles_.find(h);
    std::string t = known != titles_.end() ? std::move(known->second)
                                           : title_comparison_form(d_.windows.window_title(h, kTitleReadLimit));
    s.windows.emplace_back(h, t);
    now.emplace(h, std::move(t));
  }
  titles_ = std::move(now);  // closed windows drop out
  return s;
}

std::shared_ptr<const TitlePoll::TriggerList> TitlePoll::triggers(bool reread) {
  std::uint64_t stamp = 0;
  if (d_.watch) {
    stamp = d_.watch->stamp();
    if (!reread && cached_ && stamp == cached_stamp_ && ++polls_since_read_ < kRereadEvery) return cached_;
  }
  auto list = std::make_shared<TriggerList>();
  MacroStore store(d_.profile);
  const int entries = store.entries();
  for (int n = 1; n <= entries; ++n) {
    const std::string trigger = read_macro(store, n, {MacroKey::Trigger}).trigger;
    if (!trigger.empty()) list->push_back({n, title_comparison_form(trigger)});
  }
  cached_ = std::move(list);
  cached_stamp_ = stamp;
  polls_since_read_ = 0;
  list_read_ = true;
  return cached_;
}

void TitlePoll::record(int n, const std::string& wanted, WindowHandle h, const std::string& found) {
  std::optional<Snapshot> now;
  const std::string value = append_found_handle(found, h, [&](const std::string& entry) {
    const auto handle = parse_handle(entry);
    if (!handle) return HandleStanding::Gone;
    if (!now) now = snapshot();
    const std::string* title = now->title(*handle);
    if (!title) return HandleStanding::Gone;
    return *title == wanted ? HandleStanding::Showing : HandleStanding::Retitled;
  });
  Macro recorded;
  recorded.found_handle = value;
  MacroStore store(d_.profile);
  try {
    write_macro(store, n, recorded, {MacroKey::FoundHandle});
    refusal_reported_ = false;
  } catch (const Error& refused) {
    // Remember the window here, so the macro still runs once for it, and say so once rather
    // than four times a second.
    unrecorded_[n].insert(h);
    if (!refusal_reported_) {
      refusal_reported_ = true;
      d_.errors.show_error(refused.what());
    }
  }
}

void TitlePoll::Timer1Timer() {
  // Held for the whole poll: a nested poll may replace the cache meanwhile.
  list_read_ = false;
  std::shared_ptr<const TriggerList> list = triggers();
  const bool refresh = ++polls_since_titles_ >= kTitleRefreshEvery;
  if (refresh) {
    polls_since_titles_ = 0;
    titles_.clear();
  } else if (titles_notified_ && events_seen_ && !windows_dirty_ && !list_read_ && !ran_last_poll_) {
    return;
  }
  windows_dirty_ = false;
  ran_last_poll_ = false;
  std::optional<Snapshot> windows;
  std::size_t i = 0;
  while (i < list->size()) {
    const Trigger t = (*list)[i++];
    if (!windows) windows = snapshot();
    const WindowHandle h = windows->find(t.wanted);
    if (!h) continue;
    // Messages first, FoundHandle after: a poll nested in here has recorded what it ran.
    d_.pump.process_messages();
    MacroStore store(d_.profile);
    // Those messages may have run a macro that deleted, renumbered or changed macros: record
    // only into the macro that has this number and this trigger now.
    if (t.n > store.entries()) continue;
    const Macro now = read_macro(store, t.n, {MacroKey::Trigger, MacroKey::FoundHandle});
    if (title_comparison_form(now.trigger) != t.wanted) continue;
    if (found_handle_contains(now.found_handle, h)) continue;
    if (auto u = unrecorded_.find(t.n); u != unrecorded_.end() && u->second.count(h)) continue;
    if (!d_.windows.is_visible(h)) continue;
    record(t.n, t.wanted, h, now.found_handle);
    ran_last_poll_ = true;
    windows.reset();  // the run may open and close windows
    d_.run(t.n);
    // Go on with the store as the macro left it: the macros after this one, as they are now.
    list = triggers(true);
    i = 0;
    while (i < list->size() && (*list)[i].n <= t.n) ++i;
  }
}

}  // namespace kv
