#include "ui/status_band.h"

#include <cstdint>

#include "engine/message_pump.h"
#include "services/window_service.h"

namespace {
constexpr std::int32_t kFlashMs = 1000;
}  // namespace

void setStatus(std::string_view text) {
  setProperty(WindowId::MainWindow, ControlId::statusLabel, Property::caption, text);
}

void flashStatus(std::string_view text) {
  setStatus(text);
  waitPumping(kFlashMs);
  setStatus("");
}
