// The ini reader/writer's text rules, on text held in memory.
#include <gtest/gtest.h>

#include "posix/IniFile.h"

namespace {

using rtd::posix::IsStorableIniEntry;
using rtd::posix::ReadIniText;
using rtd::posix::WriteIniText;

TEST(IniRead, FindsTheValueTheProfileFunctionsWould) {
    struct Case {
        const char* text;
        const char* expected; // reading section "S", key "K", fallback "none"
    };
    const Case cases[] = {
        {"", "none"},
        {"[S]\r\nK=1\r\n", "1"},
        {"[S]\nK=1", "1"},
        {"[s]\nk=1\n", "1"},
        {"  [ S ]  \n  K  =  a b  \n", "a b"},
        {"[S]\nK=\"quoted \"\n", "quoted "},
        {"[S]\nK='single'\n", "single"},
        {"[S]\nK=\"mixed'\n", "\"mixed'"},
        {"[S]\nK=\"\n", "\""},
        {"[S]\nK=\n", ""},
        {"[S]\nK=a=b\n", "a=b"},
        {"[T]\nK=1\n", "none"},
        {"K=1\n[S]\n", "none"},
        {"[S]\nKEY=1\n", "none"},
        {"[S]\n;K=1\n", "none"},
        {"[S]\nK\n", "none"},
        {"[S]\n[T]\nK=1\n", "none"},
        {"[S]\nK=first\nK=second\n", "first"},
        {"[S]\nX=1\n[S]\nK=2\n", "none"},
        {"\xEF\xBB\xBF[S]\r\nK=bom\r\n", "bom"},
        {"[S] trailing\nK=1\n", "1"},
        {"[S\nK=1\n", "none"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadIniText(c.text, "S", "K", "none"), c.expected) << c.text;
}

TEST(IniWrite, ChangesOnlyTheOneEntry) {
    struct Case {
        const char* before;
        const char* after; // writing section "S", key "K", value "v"
    };
    const Case cases[] = {
        {"", "[S]\r\nK=v\r\n"},
        {"[S]\r\nK=old\r\n", "[S]\r\nK=v\r\n"},
        {"[S]\nK=old\nL=2\n", "[S]\nK=v\nL=2\n"},
        {"[s]\r\nk = old \r\n", "[s]\r\nK=v\r\n"},
        {"[S]\r\nL=2\r\n\r\n[T]\r\nM=3", "[S]\r\nL=2\r\nK=v\r\n\r\n[T]\r\nM=3"},
        {"[S]\nL=2", "[S]\nL=2\nK=v\n"},
        {"[S]", "[S]\r\nK=v\r\n"},
        {"[T]\nM=3", "[T]\nM=3\n[S]\nK=v\n"},
        {"; note\r\n", "; note\r\n[S]\r\nK=v\r\n"},
        {"[S]\nX=1\n[S]\nK=2\n", "[S]\nX=1\nK=v\n[S]\nK=2\n"},
        {"\xEF\xBB\xBF[S]\r\nK=old\r\n", "\xEF\xBB\xBF[S]\r\nK=v\r\n"},
        {"[T]\r\nK=keep\r\n[S]\r\nK=old\r\n", "[T]\r\nK=keep\r\n[S]\r\nK=v\r\n"},
    };
    for (const Case& c : cases) {
        const std::string after = WriteIniText(c.before, "S", "K", "v");
        EXPECT_EQ(after, c.after) << c.before;
        EXPECT_EQ(ReadIniText(after, "S", "K", "none"), "v") << c.before;
    }
}

TEST(IniWrite, OnlyEntriesThatReadBackAreStorable) {
    struct Case {
        const char* section;
        const char* key;
        const char* value;
        bool storable;
    };
    const Case cases[] = {
        {"RTD2120CFG", "AUTOFIRESECOND", "1", true},
        {"S", "K", "", true},
        {"S", "K", "a=b", true},
        {"S", "K", "1\r\n[Other]", false},
        {"S", "K", "1\n", false},
        {"S\n", "K", "1", false},
        {"S", "K\r", "1", false},
        {"", "K", "1", false},
        {"S", " ", "1", false},
        {"S]", "K", "1", false},
        {"S", "K=", "1", false},
        {"S", "[K", "1", false},
        {"S", ";K", "1", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsStorableIniEntry(c.section, c.key, c.value), c.storable)
            << c.section << "/" << c.key << "/" << c.value;
}

} // namespace
