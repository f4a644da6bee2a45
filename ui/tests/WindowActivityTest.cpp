#include "ui/WindowActivity.h"

#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace orb {
namespace {

using Log = std::vector<std::string>;

/// The activity as the window holds it: leaving programming mode is a command of its own, and every step
/// is logged in order. The field being left lets its value go unless a test says otherwise.
class WindowActivityTest : public testing::Test {
  protected:
    Log log;
    bool fieldAccepts = true;
    int fieldLeft = 0; ///< how often the gate ran the rule of the field being left
    WindowActivity activity{[this] {
                                ++fieldLeft;
                                return fieldAccepts;
                            },
                            [this] { activity.runCommand([this] { log.push_back("leave"); }); },
                            [this] { log.push_back("close"); }};

    void stop() {
        activity.requestStop([this] { log.push_back("interrupt"); });
    }
    /// The exit question, logged, with the user's answer.
    std::function<bool()> question(bool end) {
        return [this, end] {
            log.push_back("question");
            return end;
        };
    }
};

TEST_F(WindowActivityTest, ACommandRunsAloneAndEntryDialogsWaitForIt) {
    EXPECT_TRUE(activity.runCommand([this] {
        EXPECT_TRUE(activity.commandRunning());
        EXPECT_FALSE(activity.runCommand([this] { log.push_back("second command"); }));
        EXPECT_FALSE(activity.runDialog([this] { log.push_back("dialog"); }));
        EXPECT_FALSE(activity.decideEnd(question(true)));
    }));
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(activity.commandRunning());
    EXPECT_TRUE(activity.runDialog([this] { log.push_back("dialog"); }));
    EXPECT_EQ(log, Log{"dialog"});
}

TEST_F(WindowActivityTest, AValueTheFieldRefusesStartsNothingButAStopStillEndsTheProgram) {
    fieldAccepts = false;
    EXPECT_FALSE(activity.runCommand([this] { log.push_back("command"); }));
    EXPECT_FALSE(activity.runDialog([this] { log.push_back("dialog"); }));
    EXPECT_FALSE(activity.decideEnd(question(true)));
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(fieldLeft, 3);

    // A stop asks nobody: the unit leaves programming mode and the window closes.
    stop();
    EXPECT_EQ(log, (Log{"interrupt", "leave", "close"}));
    EXPECT_EQ(fieldLeft, 3);
}

TEST_F(WindowActivityTest, WhileACommandRunsNoFieldIsLeftForAnother) {
    activity.runCommand([this] {
        const int before = fieldLeft;
        activity.runCommand([] {});
        activity.runDialog([] {});
        EXPECT_EQ(fieldLeft, before); // no rule's box over a running exchange
    });
    EXPECT_EQ(fieldLeft, 1);
}

TEST_F(WindowActivityTest, ACommandThatThrowsLeavesTheWindowFreeForTheNext) {
    EXPECT_THROW(activity.runCommand([] { throw std::runtime_error("port"); }), std::runtime_error);
    EXPECT_FALSE(activity.commandRunning());
    EXPECT_TRUE(activity.runCommand([this] { log.push_back("next"); }));
    EXPECT_EQ(log, Log{"next"});
}

TEST_F(WindowActivityTest, AStopWithNothingRunningEndsAtOnceAndOnlyOnce) {
    stop();
    EXPECT_TRUE(activity.stopping());
    stop();
    EXPECT_EQ(log, (Log{"interrupt", "leave", "close"}));
    // The window that closes asks nothing more.
    EXPECT_TRUE(activity.decideEnd(question(false)));
    EXPECT_EQ(log, (Log{"interrupt", "leave", "close"}));
}

TEST_F(WindowActivityTest, AStopIsFinishedByTheLastCommandOrDialogOnItsWayOut) {
    activity.runDialog([this] {
        activity.runCommand([this] { // a command that a dialog started
            stop();
            log.push_back("command ends");
        });
        log.push_back("dialog ends");
    });
    EXPECT_EQ(log, (Log{"interrupt", "command ends", "dialog ends", "leave", "close"}));
}

TEST_F(WindowActivityTest, TheQuestionDecidesTheCloseButOnlyTheExitEndsTheProgram) {
    EXPECT_FALSE(activity.decideEnd(question(false)));
    EXPECT_TRUE(activity.decideEnd(question(true)));
    // A window closed by the close box may be shown again and asks again.
    EXPECT_FALSE(activity.decideEnd(question(false)));
    activity.endProgram();
    EXPECT_EQ(log, (Log{"question", "question", "question", "close"}));
    EXPECT_TRUE(activity.decideEnd(question(false)));
    // A stop after the end changes nothing: the unit was dealt with by the exit question.
    stop();
    EXPECT_EQ(log, (Log{"question", "question", "question", "close", "interrupt"}));
}

TEST_F(WindowActivityTest, AStopDuringTheQuestionEndsTheProgramAndLeavesTheCloseToTheCaller) {
    EXPECT_TRUE(activity.decideEnd([this] {
        stop();
        return false; // the question's box, closed by the stop as without a button
    }));
    EXPECT_EQ(log, (Log{"interrupt", "leave"}));
}

} // namespace
} // namespace orb
