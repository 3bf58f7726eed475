#include "services/message_box.h"

#include "services/service_backend.h"

std::int32_t dialogAnswer = 0;

std::int32_t showMessageBox(std::string_view text, BoxStyle style, std::string_view caption) {
  if (caption.empty()) caption = "信息：";
  return serviceBackend().showMessageBox(text, style, caption);
}
