#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "join/stream_copy.h"

TEST(CopyPastCache, CopiesExactlyItsBytesAtEveryAlignment) {
    // Sizes on both sides of the part line before the first whole line and after the last.
    std::string from;
    for (int i = 0; i < 400; ++i)
        from += static_cast<char>(i * 7 + 1);
    for (std::size_t offset = 0; offset < 64; ++offset) {
        for (std::size_t size : {0, 1, 63, 64, 65, 127, 128, 129, 191, 200, 399}) {
            std::vector<char> to(64 + offset + size + 64, '\xA5');
            char* at = to.data() + (64 - reinterpret_cast<std::uintptr_t>(to.data()) % 64) + offset;
            std::vector<char> expected(to);
            std::copy(from.begin(), from.begin() + size, expected.begin() + (at - to.data()));
            CopyPastCache(at, from.data(), size);
            ASSERT_TRUE(to == expected) << "offset " << offset << ", size " << size;
        }
    }
}
