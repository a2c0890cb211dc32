// The tutorial's handshake with the routes: which route is asked to launch at each step,
// and the hints of mistimed catches.
#include "game/tutorial.h"

#include <gtest/gtest.h>

#include <vector>

#include "board/route.h"

namespace {
class TutorialSequence : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 4; ++i) routes.emplace_back(i, 1.0f);
        startTutorialRoutes(routes);
    }
    std::vector<bool> launches() {
        std::vector<bool> asked;
        for (Route& route : routes) asked.push_back(route.tutorialLaunch);
        for (Route& route : routes) route.tutorialLaunch = false;
        return asked;
    }
    // One tutorial frame: the steps, then the relaunches.
    void frame() {
        step = tutorialAdvance(step, routes);
        hint = tutorialRelaunch(hint, routes);
    }
    std::vector<Route> routes;
    int step = 0;
    int hint = 0;
};

TEST_F(TutorialSequence, FromTheFirstKeyToThePlay) {
    EXPECT_EQ(routes[2].phase, 9);
    step = tutorialKeyStep(step, routes);
    EXPECT_EQ(step, 1);
    EXPECT_EQ(launches(), (std::vector<bool>{false, false, false, true}));
    routes[3].tutorialResult = 1;
    frame();
    EXPECT_TRUE(routes[1].grabStarted);
    EXPECT_EQ(launches(), (std::vector<bool>{true, false, false, false}));
    EXPECT_EQ(tutorialKeyStep(step, routes), 2);  // keys at steps 1..3 do nothing
    EXPECT_EQ(launches(), (std::vector<bool>{false, false, false, false}));
    routes[0].tutorialResult = 1;
    frame();
    EXPECT_EQ(launches(), (std::vector<bool>{false, true, true, false}));
    routes[1].tutorialResult = 1;
    frame();
    EXPECT_EQ(step, 3);  // routes 1 and 2 must both catch
    routes[2].tutorialResult = 1;
    frame();
    EXPECT_EQ(step, 4);
    EXPECT_EQ(tutorialKeyStep(step, routes), 4);
}

TEST_F(TutorialSequence, MistimedCatchesShowTheirHintAndRelaunch) {
    routes[0].tutorialResult = -2;  // too early
    frame();
    EXPECT_EQ(hint, 1);
    EXPECT_EQ(routes[0].tutorialResult, 0);
    routes[0].tutorialResult = -3;  // too late
    frame();
    EXPECT_EQ(hint, 2);
    routes[3].tutorialResult = -1;  // never caught: no new hint
    frame();
    EXPECT_EQ(hint, 2);
    EXPECT_EQ(launches(), (std::vector<bool>{true, false, false, true}));
    routes.resize(2, Route(0, 1.0f));  // fewer routes are not read past their end
    step = 3;
    routes[1].tutorialResult = 1;
    frame();
    EXPECT_EQ(step, 3);
}
}  // namespace
