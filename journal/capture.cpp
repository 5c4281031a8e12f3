#include "journal/capture.h"

#include <algorithm>

#include "platform/keyboard.h"

namespace kv::journal {

namespace {

bool is_shift(std::uint8_t vk) {
  return vk == 0x10 || vk == 0xA0 || vk == 0xA1;
}
bool is_ctrl(std::uint8_t vk) {
  return vk == 0x11 || vk == 0xA2 || vk == 0xA3;
}

}  // namespace

std::uint16_t normalise(std::int32_t pixel, std::int32_t origin, std::int32_t extent) {
  if (extent <= 0) return 0;
  const std::int64_t rel = std::clamp<std::int64_t>(static_cast<std::int64_t>(pixel) - origin, 0, extent - 1);
  const std::int64_t v = (rel * 2 + 1) * 32768 / extent;
  return static_cast<std::uint16_t>(std::min<std::int64_t>(v, 65535));
}

bool Capture::is_users(const RawInput& in) {
  return !in.injected && in.extra_info != kInjectedTag;
}

std::uint32_t Capture::offset(std::uint64_t t) {
  const std::uint64_t ms = t > start_us_ ? (t - start_us_) / 1000 : 0;
  // Hooks on one thread deliver in order, but the clock is read per event: never go back.
  last_offset_ = std::max(last_offset_, static_cast<std::uint32_t>(std::min<std::uint64_t>(ms, 0xFFFFFFFFu)));
  return last_offset_;
}

void Capture::drop_held_downs(std::uint8_t vk) {
  if (!down_.count(vk)) return;
  // Remove the presses (auto-repeats included) since the key's last release.
  auto it = events_.end();
  while (it != events_.begin()) {
    --it;
    if (it->kind == EventKind::KeyUp && it->vk == vk) break;
    if (it->kind == EventKind::KeyDown && it->vk == vk) it = events_.erase(it);
  }
  down_.erase(vk);
}

void Capture::feed(const RawInput& in) {
  if (!is_users(in)) return;
  if (is_key(in.kind)) {
    if (in.vk == 0 || in.vk > 0xFE) return;
    const auto vk = static_cast<std::uint8_t>(in.vk);
    const bool down = in.kind == EventKind::KeyDown;
    if (down && vk == kStopVk) {
      const bool shift = std::any_of(pressed_.begin(), pressed_.end(), is_shift);
      const bool ctrl = std::any_of(pressed_.begin(), pressed_.end(), is_ctrl);
      if (shift && ctrl) {
        for (std::uint8_t held : std::set<std::uint8_t>(pressed_))
          if (is_shift(held) || is_ctrl(held)) {
            drop_held_downs(held);
            swallowed_.insert(held);
          }
        swallowed_.insert(vk);
        pressed_.insert(vk);
        return;
      }
    }
    if (down) {
      pressed_.insert(vk);
    } else {
      pressed_.erase(vk);
    }
    if (swallowed_.count(vk)) {
      if (!down) swallowed_.erase(vk);
      return;
    }
    if (!down && !down_.count(vk)) return;  // held before the recording started
    Event e;
    e.offset_ms = offset(in.time_us);
    e.kind = in.kind;
    e.vk = vk;
    e.scan = static_cast<std::uint16_t>(in.scan & 0xFFFF);
    e.extended = in.extended;
    events_.push_back(e);
    if (down) {
      down_.insert(vk);
    } else {
      down_.erase(vk);
    }
    return;
  }
  if (keystrokes_only_) return;
  Event e;
  e.kind = in.kind;
  e.x = normalise(in.x, screen_.left, screen_.width);
  e.y = normalise(in.y, screen_.top, screen_.height);
  if (in.kind == EventKind::ButtonDown || in.kind == EventKind::ButtonUp) {
    if (in.button < Button::Left || in.button > Button::X2) return;
    const auto b = static_cast<std::uint8_t>(in.button);
    if (in.kind == EventKind::ButtonUp && !buttons_down_.count(b)) return;  // pressed before the start
    e.button = in.button;
    if (in.kind == EventKind::ButtonDown) {
      buttons_down_.insert(b);
    } else {
      buttons_down_.erase(b);
    }
  } else if (in.kind == EventKind::Wheel || in.kind == EventKind::HWheel) {
    if (in.wheel == 0) return;
    e.wheel = in.wheel;
  }
  e.offset_ms = offset(in.time_us);
  events_.push_back(e);
}

Recording Capture::finish(std::uint64_t stop_us) {
  Recording r;
  r.keystrokes_only = keystrokes_only_;
  r.duration_ms = offset(stop_us);
  r.events = std::move(events_);
  events_.clear();
  for (std::uint8_t vk : down_) {
    Event e;
    e.offset_ms = r.duration_ms;
    e.kind = EventKind::KeyUp;
    e.vk = vk;
    const auto down = std::find_if(r.events.rbegin(), r.events.rend(),
                                   [vk](const Event& d) { return d.kind == EventKind::KeyDown && d.vk == vk; });
    if (down != r.events.rend()) {
      e.scan = down->scan;
      e.extended = down->extended;
    }
    r.events.push_back(e);
  }
  for (std::uint8_t b : buttons_down_) {
    Event e;
    e.offset_ms = r.duration_ms;
    e.kind = EventKind::ButtonUp;
    e.button = static_cast<Button>(b);
    // Released where the pointer last was.
    const auto last = std::find_if(r.events.rbegin(), r.events.rend(), [](const Event& m) { return is_mouse(m.kind); });
    if (last != r.events.rend()) {
      e.x = last->x;
      e.y = last->y;
    }
    r.events.push_back(e);
  }
  down_.clear();
  buttons_down_.clear();
  return r;
}

}  // namespace kv::journal
