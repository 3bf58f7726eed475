#include "run/compact_layout.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "handler_fixture.h"

namespace {

using Geometry = std::tuple<std::int32_t, std::int32_t, std::int32_t, std::int32_t>;

class CompactLayout : public HandlerTest {
 protected:
  Geometry geometryOf(ControlId control) {
    const FakeServices::ControlState& c = inMain(control);
    return {c.left, c.top, c.width, c.height};
  }
  std::map<ControlId, Geometry> everyGeometry() {
    std::map<ControlId, Geometry> all;
    for (int i = 0; i <= static_cast<int>(ControlId::stopButton); ++i) {
      const auto control = static_cast<ControlId>(i);
      all[control] = geometryOf(control);
    }
    return all;
  }
};

TEST_F(CompactLayout, TheStopButtonFillsTheShrunkWindowFromTheWindowData) {
  const auto before = everyGeometry();

  compactRunLayout();

  EXPECT_EQ(inMain(ControlId::self).height, 131);
  EXPECT_EQ(geometryOf(ControlId::stopButton), Geometry(0, 0, 312, 103));
  auto changed = everyGeometry();
  changed[ControlId::self] = before.at(ControlId::self);
  changed[ControlId::stopButton] = before.at(ControlId::stopButton);
  EXPECT_EQ(changed, before) << "nothing else moves, and the window keeps its place and width";
  EXPECT_EQ(backend.log, std::vector<std::string>{"z stopButton 1"});
}

TEST_F(CompactLayout, RestoreIsTheExactInverseOfCompactOnAnyGeometry) {
  struct Case {
    std::int32_t windowHeight;
    Geometry stop;
  };
  const Case cases[] = {
      {266, {240, 105, 64, 40}},
      {301, {-7, 13, 1, 9}},
      {1000, {5000, -300, 77, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.windowHeight);
    inMain(ControlId::self).height = c.windowHeight;
    auto& stop = inMain(ControlId::stopButton);
    std::tie(stop.left, stop.top, stop.width, stop.height) = c.stop;
    const auto before = everyGeometry();
    backend.log.clear();

    compactRunLayout();
    restoreLayout();

    EXPECT_EQ(everyGeometry(), before);
    EXPECT_EQ(backend.log, (std::vector<std::string>{"z stopButton 1", "z stopButton 2"}));
  }
}

}  // namespace
