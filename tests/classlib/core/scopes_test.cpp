#include "classlib/core/scopes.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>

namespace {

// Counts updates the way string lists and collections do; EndUpdate can be
// made to fail.
struct TCounter {
    int Level = 0;
    int Ends = 0;
    bool FailOnEnd = false;
    void BeginUpdate() { ++Level; }
    void EndUpdate() {
        --Level;
        ++Ends;
        if (FailOnEnd) throw std::runtime_error("end failed");
    }
};

std::string MessageOf(const std::function<void()>& work) {
    try {
        work();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

TEST(Scopes, UpdateScopeEndsTheUpdateOnEveryWayOut) {
    TCounter c;
    {
        TUpdateScope update(c);
        EXPECT_EQ(c.Level, 1);
    }
    EXPECT_EQ(c.Level, 0);

    EXPECT_EQ(MessageOf([&] {
                  TUpdateScope update(c);
                  throw std::runtime_error("work failed");
              }),
              "work failed");
    EXPECT_EQ(c.Level, 0);
    EXPECT_EQ(c.Ends, 2);
}

TEST(Scopes, TheFirstErrorWinsAndACleanUpErrorAloneIsReported) {
    TCounter c;
    c.FailOnEnd = true;
    // The work succeeded, the clean-up failed: the caller hears of it.
    EXPECT_EQ(MessageOf([&] { TUpdateScope update(c); }), "end failed");
    // The work failed and so did the clean-up: the work's error wins.
    EXPECT_EQ(MessageOf([&] {
                  TUpdateScope update(c);
                  throw std::runtime_error("work failed");
              }),
              "work failed");
    EXPECT_EQ(c.Level, 0);

    int runs = 0;
    EXPECT_EQ(MessageOf([&] {
                  TScopeExit cleanUp([&] {
                      ++runs;
                      throw std::runtime_error("clean-up failed");
                  });
                  throw std::runtime_error("work failed");
              }),
              "work failed");
    EXPECT_EQ(runs, 1);
}

TEST(Scopes, NestedScopesUndoInReverseOrder) {
    std::string log;
    {
        TScopeExit first([&] { log += "1"; });
        TScopeExit second([&] { log += "2"; });
        TScopeExit dismissed([&] { log += "x"; });
        dismissed.Dismiss();
    }
    EXPECT_EQ(log, "21");
}

TEST(Scopes, TempChangeGivesTheOldValueBack) {
    bool busy = false;
    std::string name = "old";
    {
        TTempChange b(busy, true);
        TTempChange n(name, std::string("new"));
        EXPECT_TRUE(busy);
        EXPECT_EQ(name, "new");
    }
    EXPECT_FALSE(busy);
    EXPECT_EQ(name, "old");

    MessageOf([&] {
        TTempChange b(busy, true);
        throw std::runtime_error("x");
    });
    EXPECT_FALSE(busy);
}

TEST(Scopes, OnFailureRunsOnlyWhenAnExceptionLeaves) {
    int undone = 0;
    {
        TOnFailure undo([&] { ++undone; });
    }
    EXPECT_EQ(undone, 0);
    MessageOf([&] {
        TOnFailure undo([&] { ++undone; });
        throw std::runtime_error("x");
    });
    EXPECT_EQ(undone, 1);

    // A scope inside a catch handler is not "failing" because of the
    // exception being handled.
    try {
        throw std::runtime_error("handled");
    } catch (...) {
        TOnFailure undo([&] { ++undone; });
    }
    EXPECT_EQ(undone, 1);
}

}  // namespace
