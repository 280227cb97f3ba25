// Host strings: the plug-in's reference is taken and given back, constants are never
// counted, nothing is freed or written, and the text is read within its length.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "AnsiStringArg.h"
#include "PluginFixture.h"
#include "rtd2120/rtd2120.h"

namespace rtd::test {
namespace {

// A host string laid out by hand: count, length, characters, zero.
class HostString {
public:
    HostString(int32_t count, int32_t length, const std::string& bytes)
        : block_(8 + bytes.size() + 1, '\0') {
        std::memcpy(block_.data(), &count, 4);
        std::memcpy(block_.data() + 4, &length, 4);
        std::memcpy(block_.data() + 8, bytes.data(), bytes.size());
    }
    AnsiStringPtr Ptr() { return block_.data() + 8; }
    int32_t Count() const {
        int32_t count;
        std::memcpy(&count, block_.data(), 4);
        return count;
    }
    const std::vector<char>& Block() const { return block_; }

private:
    std::vector<char> block_;
};

TEST(AnsiStringArg, CountsOnlyWhileHeld) {
    const struct {
        int32_t count;
        int32_t whileHeld;
    } cases[] = {{1, 2}, {5, 6}, {-1, -1}, {0, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        HostString s(c.count, 3, "abc");
        const std::vector<char> before = s.Block();
        {
            AnsiStringArg held(s.Ptr());
            EXPECT_EQ(s.Count(), c.whileHeld);
        }
        EXPECT_EQ(s.Block(), before); // count restored, nothing else touched
    }
}

TEST(AnsiStringArg, NullIsTheEmptyString) {
    AnsiStringArg held(nullptr);
    EXPECT_EQ(held.Text(), "");
}

TEST(AnsiStringArg, TextStopsAtLengthOrZero) {
    const struct {
        int32_t length;
        std::string bytes;
        std::string text;
    } cases[] = {
        {9, "C:\\fw.hex", "C:\\fw.hex"},
        {0, "", ""},
        {3, "abcdef", "abc"},                // the length wins over later characters
        {5, std::string("ab\0cd", 5), "ab"}, // file functions would stop at the zero
        {-4, "abc", ""},                     // a broken length reads as empty
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        HostString s(1, c.length, c.bytes);
        AnsiStringArg held(s.Ptr());
        EXPECT_EQ(held.Text(), c.text);
    }
}

// A constant string in read-only memory: any write to its count or characters faults.
struct ConstantString {
    int32_t count;
    int32_t length;
    char text[12];
};
const ConstantString kConstant = {-1, 11, "C:\\none.bin"};

using StringExports = PluginFixture;

TEST_F(StringExports, CountRestoredAfterEveryStringExport) {
    const struct {
        const char* name;
        bool (*call)(AnsiStringPtr);
        bool withBus;
    } exports[] = {
        {"Write, no bus", [](AnsiStringPtr s) { return Write(s); }, false},
        {"ExtFunc, no bus", [](AnsiStringPtr s) { return ExtFunc(s); }, false},
        {"Write", [](AnsiStringPtr s) { return Write(s); }, true},
    };
    for (const auto& e : exports) {
        SCOPED_TRACE(e.name);
        SetIICInterFace(e.withBus ? &bus : nullptr);
        AnsiStringPtr counted = AnsiStringNew("C:\\missing\\file.hex");
        e.call(counted);
        int32_t count;
        std::memcpy(&count, counted - 8, 4);
        EXPECT_EQ(count, 1);
        EXPECT_STREQ(counted, "C:\\missing\\file.hex");
        AnsiStringRelease(counted);

        e.call(const_cast<char*>(kConstant.text));
        EXPECT_EQ(kConstant.count, -1);
        e.call(nullptr);
    }
}

} // namespace
} // namespace rtd::test
