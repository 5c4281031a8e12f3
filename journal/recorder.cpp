#include "journal/recorder.h"

#include <algorithm>
#include <iterator>
#include <set>

#include "platform/error.h"

namespace kv::journal {

PlayOutcome play_recording(const Recording& r, bool hi_speed, Injector& injector, PlaybackClock& clock,
                           const std::atomic<bool>& cancel) {
  PlayOutcome out;
  std::set<std::uint8_t> keys;  // pressed by this playback and not yet released
  std::set<Button> buttons;
  Event last_mouse;
  bool refused = false;
  const std::uint64_t start = clock.now_us();
  for (const Event& e : r.events) {
    if (cancel) break;
    if (!hi_speed && !clock.wait_until(start + static_cast<std::uint64_t>(e.offset_ms) * 1000)) break;
    if (injector.send({e}) != 1) {
      refused = true;
      break;
    }
    if (e.kind == EventKind::KeyDown) keys.insert(e.vk);
    if (e.kind == EventKind::KeyUp) keys.erase(e.vk);
    if (e.kind == EventKind::ButtonDown) buttons.insert(e.button);
    if (e.kind == EventKind::ButtonUp) buttons.erase(e.button);
    if (is_mouse(e.kind)) last_mouse = e;
  }
  std::vector<Event> release;
  std::transform(keys.rbegin(), keys.rend(), std::back_inserter(release), [](std::uint8_t vk) {
    Event e;
    e.kind = EventKind::KeyUp;
    e.vk = vk;
    return e;
  });
  for (Button b : buttons) {
    Event e = last_mouse;
    e.kind = EventKind::ButtonUp;
    e.button = b;
    e.wheel = 0;
    release.push_back(e);
  }
  if (!release.empty()) injector.send(release);
  out.user_cancel = cancel;
  if (refused && !out.user_cancel) out.error = "The system refused the played input; the playback was stopped";
  return out;
}

JournalRecorder::~JournalRecorder() {
  cancel_ = true;
  p_.clock.wake();
  if (worker_.joinable()) worker_.join();
  if (recording_ || playing_) p_.hooks.set_hooks(false, false, nullptr);
}

void JournalRecorder::on_input(const RawInput& in) {
  if (watch_cancel_key_ && in.kind == EventKind::KeyDown && in.vk == kCancelVk && Capture::is_users(in)) {
    cancel_ = true;
    p_.clock.wake();
  }
  std::lock_guard<std::mutex> lock(capture_mutex_);
  if (capture_) capture_->feed(in);
}

bool JournalRecorder::update_hooks() {
  const bool keyboard = recording_ || playing_;
  const bool mouse = recording_ && !recording_keys_only_;
  return p_.hooks.set_hooks(
      keyboard, mouse,
      keyboard ? [this](const RawInput& in) { on_input(in); } : std::function<void(const RawInput&)>());
}

void JournalRecorder::start_record() {
  {
    std::lock_guard<std::mutex> lock(capture_mutex_);
    capture_.emplace(keystrokes_only_, p_.hooks.virtual_screen(), p_.clock.now_us());
  }
  recording_ = true;
  recording_keys_only_ = keystrokes_only_;
  const bool hooked = update_hooks();
  // A take that could never be saved must not begin: its file is made (empty) at once.
  Recording empty;
  empty.keystrokes_only = keystrokes_only_;
  if (hooked && p_.files.write(record_file_, encode(empty))) return;
  recording_ = false;
  update_hooks();
  {
    std::lock_guard<std::mutex> lock(capture_mutex_);
    capture_.reset();
  }
  throw Error(hooked ? format_message("Unable to write to %s", record_file_) : std::string(kHooksRefused));
}

void JournalRecorder::stop_record() {
  if (!recording_) return;
  recording_ = false;
  update_hooks();  // no event reaches the capture after this
  Recording r;
  {
    std::lock_guard<std::mutex> lock(capture_mutex_);
    r = capture_->finish(p_.clock.now_us());
    capture_.reset();
  }
  const bool written = p_.files.write(record_file_, encode(r));
  p_.ui.post([this] {
    if (on_finished) on_finished(false);
  });
  if (!written) throw Error(format_message("Unable to write to %s", record_file_));
}

void JournalRecorder::start_playback() {
  Request r{playback_file_, hi_speed_};
  if (playing_) {
    queue_.push_back(std::move(r));
    return;
  }
  begin(r);
}

void JournalRecorder::begin(const Request& r) {
  if (worker_.joinable()) worker_.join();
  playing_ = true;
  cancel_ = false;
  p_.clock.rearm();
  watch_cancel_key_ = true;
  update_hooks();
  worker_ = std::thread([this, r] {
    PlayOutcome outcome;
    const auto bytes = p_.files.read(r.file);
    if (!bytes) {
      outcome.error = format_message("Cannot open file %s", r.file);
    } else {
      const Decoded d = decode(*bytes);
      if (d.error != DecodeError::None) {
        outcome.error = decode_error_message(d.error, r.file);
      } else {
        outcome = play_recording(d.recording, r.hi_speed, p_.injector, p_.clock, cancel_);
      }
    }
    p_.ui.post([this, outcome] { playback_done(outcome); });
  });
}

void JournalRecorder::playback_done(const PlayOutcome& outcome) {
  if (worker_.joinable()) worker_.join();
  watch_cancel_key_ = false;
  // The box is modal and processes messages: a playback asked for meanwhile waits in the queue.
  if (!outcome.error.empty()) p_.errors.show_error(outcome.error);
  playing_ = false;
  // Esc stops journal playback as such: the playbacks waiting behind the cancelled one are
  // dropped too, each still ending with its own OnFinished. An Esc that came after the last
  // event was played, before this report, still counts for them.
  std::size_t dropped = 0;
  if (outcome.user_cancel || cancel_) {
    dropped = queue_.size();
    queue_.clear();
  }
  if (!queue_.empty()) {
    const Request next = queue_.front();
    queue_.pop_front();
    begin(next);
  } else {
    update_hooks();
  }
  if (on_finished) on_finished(outcome.user_cancel);
  for (; dropped > 0; --dropped)
    if (on_finished) on_finished(true);
}

}  // namespace kv::journal
