// The read-ahead thread of the text import: items arrive complete and in order across batches,
// a failure arrives after everything read before it, and a reader that never ends is stopped.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>

#include "interchange/read_ahead.h"

using interchange::ReadAhead;

TEST(ReadAhead, HandsOverEveryItemInOrderThenEnds) {
    int produced = 0;
    ReadAhead<std::string> ahead(
        [&](std::string& item) {
            if (produced == 1000) return false;
            item = "item " + std::to_string(produced++);
            return true;
        },
        7, 3);
    for (int i = 0; i < 1000; ++i) {
        const std::string* item = ahead.next();
        ASSERT_NE(item, nullptr) << i;
        EXPECT_EQ(*item, "item " + std::to_string(i));
    }
    EXPECT_EQ(ahead.next(), nullptr);
    EXPECT_EQ(ahead.next(), nullptr);
}

TEST(ReadAhead, AFailureComesAfterTheItemsReadBeforeIt) {
    int produced = 0;
    ReadAhead<int> ahead(
        [&](int& item) {
            if (produced == 20) throw std::runtime_error("line 21 cannot be read");
            item = produced++;
            return true;
        },
        8, 2);
    for (int i = 0; i < 20; ++i) {
        const int* item = ahead.next();
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(*item, i);
    }
    EXPECT_THROW(ahead.next(), std::runtime_error);
    EXPECT_THROW(ahead.next(), std::runtime_error);
}

TEST(ReadAhead, StoppingEarlyEndsAReaderThatWouldNeverEnd) {
    std::atomic<int> produced{0};
    {
        ReadAhead<int> ahead([&](int& item) {
            item = produced++;
            return true;
        });
        ASSERT_NE(ahead.next(), nullptr);
    }
    const int after = produced.load();
    EXPECT_GT(after, 0);
    EXPECT_EQ(produced.load(), after);  // the thread is gone
}
