// "next": the word, and what each answer of the running copy comes to.
#include <gtest/gtest.h>

#include "NextCommand.h"
#include "VexloError.h"

namespace vexlo {
namespace {

class AnsweringChannel : public InstanceChannel {
public:
    explicit AnsweringChannel(InstanceReply reply) : reply_(std::move(reply)) {}
    bool Listen(std::function<std::string()>) override { return false; }
    InstanceReply RequestNext(int timeoutMs) override {
        timeoutMs_ = timeoutMs;
        return reply_;
    }
    InstanceReply reply_;
    int timeoutMs_ = 0;
};

TEST(NextCommandTest, TheWordInAnyCase) {
    EXPECT_TRUE(IsNextCommand({"next"}));
    EXPECT_TRUE(IsNextCommand({"NeXT", "ignored"}));
    EXPECT_FALSE(IsNextCommand({}));
    EXPECT_FALSE(IsNextCommand({"nextt"}));
    EXPECT_FALSE(IsNextCommand({"change", "next"}));
}

TEST(NextCommandTest, EachAnswerOfTheRunningCopy) {
    int here = 0;
    auto changeHere = [&] { ++here; };

    AnsweringChannel done({InstanceAnswer::Done});
    EXPECT_EQ(RunNextCommand(done, changeHere), 0);
    EXPECT_EQ(done.timeoutMs_, kNextTimeoutMs);
    EXPECT_EQ(here, 0);

    AnsweringChannel none({InstanceAnswer::NoInstance});
    EXPECT_EQ(RunNextCommand(none, changeHere), 0);
    EXPECT_EQ(here, 1);

    AnsweringChannel failed({InstanceAnswer::Failed, "Cannot open file /p/a.jpg"});
    try {
        RunNextCommand(failed, changeHere);
        ADD_FAILURE() << "no error";
    } catch (const VexloError& error) {
        EXPECT_STREQ(error.what(), "Cannot open file /p/a.jpg");
    }
    AnsweringChannel silent({InstanceAnswer::NoAnswer});
    try {
        RunNextCommand(silent, changeHere, 3000);
        ADD_FAILURE() << "no error";
    } catch (const VexloError& error) {
        EXPECT_STREQ(error.what(), "The running Vexlo did not answer within 3 seconds.");
    }
    EXPECT_EQ(here, 1);

    // An error of the change made here propagates as it is.
    EXPECT_THROW(
        RunNextCommand(none, [] { throw VexloError("JPEG datastream contains no image"); }),
        VexloError);
}

}  // namespace
}  // namespace vexlo
