// libFuzzer target: the step file reader takes any bytes without a fault, and
// whatever it accepts comes back step for step once written and read again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "services/step_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const ParsedStepFile parsed = parseStepFile(bytes);
  if (parsed.problem) {
    // A refused file gives nothing, and always says where and what.
    if (!parsed.steps.empty() || parsed.problem->line < 0 || parsed.problem->description.empty()) {
      std::abort();
    }
    return 0;
  }
  if (parsed.steps.size() > kMaxStepFileSteps) std::abort();
  for (const Step& step : parsed.steps) {
    const bool keyKind = static_cast<std::int32_t>(step.kind) >= 4;
    if (static_cast<std::int32_t>(step.kind) > 9 || step.isKey != keyKind) std::abort();
    if (step.isKey && (step.x != 0 || step.y != 0)) std::abort();
  }

  const std::string written = writeStepFile(parsed.steps, "fuzz");
  const ParsedStepFile again = parseStepFile(written);
  if (again.problem || again.steps != parsed.steps) std::abort();
  if (writeStepFile(again.steps, "fuzz") != written) std::abort();
  return 0;
}
