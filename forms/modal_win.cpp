#include "forms/modal_win.h"

namespace kv::win {

int ModalRun::run(HWND form, const std::function<void()>& show) {
  std::optional<int> ended;
  runs_.push_back(&ended);
  struct Pop {
    std::vector<std::optional<int>*>& runs;
    ~Pop() { runs.pop_back(); }
  } pop{runs_};
  const ModalScope modal(form);
  show();
  while (!ended && IsWindow(form) && !pump_.terminated()) {
    pump_.wait_for_message();
    pump_.process_messages();
  }
  return ended.value_or(0);
}

int ModalRun::show_centred(Window& form, HWND focus) {
  form.centre_on_screen();
  const int code = run(form.hwnd(), [&] {
    ShowWindow(form.hwnd(), SW_SHOW);
    SetForegroundWindow(form.hwnd());
    SetFocus(focus);
  });
  ShowWindow(form.hwnd(), SW_HIDE);
  return code;
}

void ModalRun::end(int code) {
  if (!runs_.empty()) *runs_.back() = code;
}

}  // namespace kv::win
