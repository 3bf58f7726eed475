#include <gtest/gtest.h>

#include <cstddef>
#include <set>
#include <string>
#include <utility>

#include "ui/window_definitions.h"

namespace {

const WindowId kAllWindows[] = {WindowId::MainWindow, WindowId::KeyOperationWindow,
                                WindowId::LoopCountWindow, WindowId::RunTimeWindow,
                                WindowId::SupportWindow};

struct Rect {
  std::int32_t left, top, right, bottom;
};

Rect rectOf(const ControlDefinition& control) {
  return {control.left, control.top, control.left + control.width, control.top + control.height};
}

bool overlap(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool inside(const Rect& inner, const Rect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

std::size_t indexOf(const WindowDefinition& window, ControlId control) {
  const ControlDefinition* found = findControl(window, control);
  return found == nullptr ? window.controlCount : static_cast<std::size_t>(found - window.controls);
}

TEST(WindowDefinitions, EachWindowIsFoundByItsOwnId) {
  for (WindowId id : kAllWindows) EXPECT_EQ(programWindowDefinition(id).id, id);
}

TEST(WindowDefinitions, RolesAreUniqueAndControlsFitTheClientArea) {
  for (WindowId id : kAllWindows) {
    const WindowDefinition& window = programWindowDefinition(id);
    SCOPED_TRACE("window " + std::to_string(static_cast<int>(id)));
    // Framed windows lose 6 pixels of width and 28 of height to the frame.
    const bool framed = window.frame == Frame::fixedWithCaption;
    const Rect client{0, 0, window.width - (framed ? 6 : 0), window.height - (framed ? 28 : 0)};
    std::set<ControlId> roles;
    for (std::size_t i = 0; i < window.controlCount; ++i) {
      const ControlDefinition& control = window.controls[i];
      SCOPED_TRACE(control.nameInData);
      EXPECT_NE(control.role, ControlId::self);
      EXPECT_TRUE(roles.insert(control.role).second) << "role listed twice";
      EXPECT_EQ(findControl(window, control.role), &control);
      EXPECT_NE(control.text, nullptr);
      if (control.kind != ControlKind::timer) {
        EXPECT_TRUE(inside(rectOf(control), client)) << "outside the client area";
      }
      const bool drawsText =
          control.kind != ControlKind::timer && control.kind != ControlKind::pictureBox;
      EXPECT_EQ(control.fontPixels > 0, drawsText);
      EXPECT_EQ(control.picture != PictureId::none, control.kind == ControlKind::pictureBox);
    }
  }
}

TEST(WindowDefinitions, OnlyTheStopButtonOverlapsAndStartButtonCoversIt) {
  for (WindowId id : kAllWindows) {
    const WindowDefinition& window = programWindowDefinition(id);
    for (std::size_t i = 0; i < window.controlCount; ++i) {
      for (std::size_t j = i + 1; j < window.controlCount; ++j) {
        const ControlDefinition& a = window.controls[i];
        const ControlDefinition& b = window.controls[j];
        if (a.kind == ControlKind::timer || b.kind == ControlKind::timer) continue;
        const bool stopUnderStart =
            a.role == ControlId::startButton && b.role == ControlId::stopButton;
        if (stopUnderStart) continue;
        EXPECT_FALSE(overlap(rectOf(a), rectOf(b))) << a.nameInData << " and " << b.nameInData;
      }
    }
  }
  const WindowDefinition& main = programWindowDefinition(WindowId::MainWindow);
  const ControlDefinition* start = findControl(main, ControlId::startButton);
  const ControlDefinition* stop = findControl(main, ControlId::stopButton);
  ASSERT_NE(start, nullptr);
  ASSERT_NE(stop, nullptr);
  EXPECT_TRUE(inside(rectOf(*stop), rectOf(*start)));
  EXPECT_EQ(indexOf(main, ControlId::stopButton), main.controlCount - 1) << "must be lowest";
}

TEST(WindowDefinitions, EveryBindingNamesAnExistingControlAndOneHandler) {
  for (WindowId id : kAllWindows) {
    const WindowDefinition& window = programWindowDefinition(id);
    std::set<std::pair<ControlId, Event>> bound;
    for (std::size_t i = 0; i < window.bindingCount; ++i) {
      const EventBinding& binding = window.bindings[i];
      SCOPED_TRACE("window " + std::to_string(static_cast<int>(id)) + ", binding " +
                   std::to_string(i));
      EXPECT_TRUE(bound.insert({binding.control, binding.event}).second) << "bound twice";
      if (binding.control != ControlId::self) {
        EXPECT_NE(findControl(window, binding.control), nullptr);
      }
      const bool isKey = binding.event == Event::keyPressed;
      EXPECT_EQ(binding.handler != nullptr, !isKey);
      EXPECT_EQ(binding.keyHandler != nullptr, isKey);
      if (isKey) {
        EXPECT_EQ(findKeyHandler(window, binding.control), binding.keyHandler);
      } else {
        EXPECT_EQ(findHandler(window, binding.control, binding.event), binding.handler);
      }
    }
  }
}

TEST(WindowDefinitions, UnboundEventsFindNoHandler) {
  const WindowDefinition& main = programWindowDefinition(WindowId::MainWindow);
  EXPECT_EQ(findHandler(main, ControlId::delayEdit, Event::clicked), nullptr);
  EXPECT_EQ(findHandler(main, ControlId::startButton, Event::keyPressed), nullptr);
  EXPECT_EQ(findKeyHandler(main, ControlId::delayEdit), nullptr);
  EXPECT_EQ(findControl(main, ControlId::keyOpCombo), nullptr);
  EXPECT_EQ(findControl(main, ControlId::self), nullptr);
  const WindowDefinition& support = programWindowDefinition(WindowId::SupportWindow);
  EXPECT_EQ(findHandler(support, ControlId::self, Event::created), nullptr);
}

std::size_t countOf(const std::string& text, const std::string& separator) {
  std::size_t count = 0;
  for (std::size_t at = text.find(separator); at != std::string::npos;
       at = text.find(separator, at + separator.size())) {
    ++count;
  }
  return count;
}

TEST(WindowDefinitions, ComboItemsAndNoteLinesAreSeparatedWithoutATrailingBreak) {
  const WindowDefinition& keys = programWindowDefinition(WindowId::KeyOperationWindow);
  const std::string items = findControl(keys, ControlId::keyOpCombo)->text;
  EXPECT_EQ(countOf(items, "\n"), 6u);
  EXPECT_NE(items.back(), '\n');
  const std::string note = findControl(keys, ControlId::noteLabel)->text;
  EXPECT_EQ(countOf(note, "\r\n"), 8u);
  EXPECT_EQ(countOf(note, "\n"), 8u) << "a line break without its carriage return";
  EXPECT_NE(note.back(), '\n');
}

}  // namespace
