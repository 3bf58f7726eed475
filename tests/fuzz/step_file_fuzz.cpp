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
  // Steps as recording makes them: a known kind, the key flag on exactly the
  // key kinds, and no position on a key step.
  for (const Step& step : parsed.steps) {
    const auto kind = static_cast<std::int32_t>(step.kind);
    if (kind < 0 || kind > static_cast<std::int32_t>(StepKind::refresh)) std::abort();
    if (step.isKey != (kind >= static_cast<std::int32_t>(StepKind::backspace))) std::abort();
    if (step.isKey && (step.x != 0 || step.y != 0)) std::abort();
  }

  const std::string written = writeStepFile(parsed.steps, "fuzz");
  const ParsedStepFile again = parseStepFile(written);
  if (again.problem || again.steps != parsed.steps) std::abort();
  if (writeStepFile(again.steps, "fuzz") != written) std::abort();
  return 0;
}
