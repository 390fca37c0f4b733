#include "mainwindow/pointer_release.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace velmok {
namespace {

// The ways a list control takes a press, as message sequences seen by the list's owner.
TEST(PointerRelease, EveryPressEndsInExactlyOneReportedRelease) {
  struct Case {
    const char* how;
    std::function<void(PointerRelease&)> events;
    std::vector<int> released;
  };
  const std::vector<Case> cases = {
      {"Windows: the control's loop takes the release and reports the click",
       [](PointerRelease& p) {
         p.Pressed(1);
         p.Clicked(1);
         p.PressHandled(1, false);
       },
       {1}},
      {"Windows: a rubber band, the loop takes the release and reports nothing",
       [](PointerRelease& p) {
         p.Pressed(1);
         p.PressHandled(1, false);
       },
       {1}},
      {"Windows: a drag begins, the control returns with the button held, the release comes later",
       [](PointerRelease& p) {
         p.Pressed(1);
         p.PressHandled(1, true);
         p.ReleaseArrived(1);
       },
       {1}},
      {"a drag whose release went to another window",
       [](PointerRelease& p) {
         p.Pressed(2);
         p.PressHandled(2, true);
         p.CaptureLost(false);
         p.ReleaseArrived(2);  // a late one changes nothing
       },
       {2}},
      {"capture lost while still held: the release is still to come",
       [](PointerRelease& p) {
         p.Pressed(1);
         p.PressHandled(1, true);
         p.CaptureLost(true);
         p.ReleaseArrived(1);
       },
       {1}},
      {"Wine: the click is reported when the release message arrives",
       [](PointerRelease& p) {
         p.Pressed(1);
         p.PressHandled(1, true);
         p.Clicked(1);
         p.ReleaseArrived(1);
       },
       {1}},
      {"a double press: two presses, two releases",
       [](PointerRelease& p) {
         for (int i = 0; i < 2; ++i) {
           p.Pressed(2);
           p.Clicked(2);
           p.PressHandled(2, false);
         }
       },
       {2, 2}},
      {"the middle button, which the control leaves alone",
       [](PointerRelease& p) {
         p.Pressed(4);
         p.PressHandled(4, true);
         p.ReleaseArrived(4);
       },
       {4}},
      {"another button pressed while one is held ends the first",
       [](PointerRelease& p) {
         p.Pressed(1);
         p.PressHandled(1, true);
         p.Pressed(2);
         p.Clicked(2);
         p.ReleaseArrived(1);
       },
       {1, 2}},
      {"a release without a press of ours (the press was on another window)",
       [](PointerRelease& p) {
         p.ReleaseArrived(1);
         p.Clicked(2);
       },
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.how);
    std::vector<int> released;
    PointerRelease p([&](int button) { released.push_back(button); });
    c.events(p);
    EXPECT_EQ(released, c.released);
  }
}

TEST(PointerRelease, ActiveOnlyBetweenAPressAndItsRelease) {
  PointerRelease p(nullptr);
  EXPECT_FALSE(p.Active());
  p.Pressed(1);
  EXPECT_TRUE(p.Active());
  EXPECT_EQ(p.Held(), 1);
  p.PressHandled(1, true);
  EXPECT_TRUE(p.Active()) << "a drag: selection changes now are the pointer's, not the keyboard's";
  p.ReleaseArrived(1);
  EXPECT_FALSE(p.Active());
}

}  // namespace
}  // namespace velmok
