#include "services/message_box.h"

#include "services/service_backend.h"
#include "services/scoped_count.h"

std::int32_t dialogAnswer = 0;

namespace {
int boxesUp = 0;
}  // namespace

std::int32_t showMessageBox(std::string_view text, BoxStyle style, std::string_view caption) {
  if (caption.empty()) caption = "信息：";
  const ScopedCount up(boxesUp);
  return serviceBackend().showMessageBox(text, style, caption);
}

bool messageBoxUp() { return boxesUp > 0; }
