// The query exports write exactly their text and terminator; the setters replace the
// object and hand back what they were given.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "isp/Ispunit.h"
#include "plugin/Lifetime.h"
#include "rtd2120/rtd2120.h"
#include "tests/plugin/PluginFixture.h"

namespace rtd::test {
namespace {

struct TextQuery {
    const char* name;
    char* (*query)(char*);
    std::string expected; // including the terminating zero
};

const TextQuery kTextQueries[] = {
    {"KXMcuName", [](char* b) { return KXMcuName(b); }, std::string("RTD2120\0", 8)},
    {"ExtFuncName", [](char* b) { return ExtFuncName(b); }, std::string("Enter isp\0", 10)},
    {"SetIspFileExt", [](char* b) { return SetIspFileExt(b); },
     std::string("(*.hex;*.bin)|*.hex;*.bin;*.kvf\0", 32)},
};

// Queries answer the same with and without an engine object.
void ExpectTextQueries() {
    for (const TextQuery& q : kTextQueries) {
        SCOPED_TRACE(q.name);
        char buffer[64];
        std::memset(buffer, 0xCD, sizeof buffer);
        EXPECT_EQ(q.query(buffer), buffer);
        EXPECT_EQ(std::string(buffer, q.expected.size()), q.expected);
        for (size_t i = q.expected.size(); i < sizeof buffer; ++i)
            ASSERT_EQ(static_cast<unsigned char>(buffer[i]), 0xCD) << "byte " << i << " written";
    }
    EXPECT_TRUE(SupportReset());
    EXPECT_TRUE(SupportErase());
    EXPECT_TRUE(SupportExtFunc());
}

TEST(Queries, AnswerWithoutEngineObjectOrHostObjects) {
    ASSERT_EQ(IspUnit, nullptr);
    ExpectTextQueries();
}

using Setters = PluginFixture;

TEST_F(Setters, AnswerWithEngineObject) {
    ExpectTextQueries();
}

TEST_F(Setters, NullBufferIsLeftAlone) {
    EXPECT_EQ(KXMcuName(nullptr), nullptr);
    EXPECT_EQ(ExtFuncName(nullptr), nullptr);
    EXPECT_EQ(SetIspFileExt(nullptr), nullptr);
}

TEST_F(Setters, StoreReplaceAndReturnTheObject) {
    RecordingStrings otherList{&events};
    FakeForm otherForm;
    RecordingBus otherBus{&events, nullptr};

    EXPECT_EQ(SetInfoList(&list), &list);
    EXPECT_EQ(SetMainFrm(&form), &form);
    EXPECT_EQ(SetIICInterFace(&bus), &bus);
    EXPECT_EQ(IspUnit->InfoList, &list);
    EXPECT_EQ(IspUnit->MainFrm, &form);
    EXPECT_EQ(IspUnit->IicInterface, &bus);

    EXPECT_EQ(SetInfoList(&otherList), &otherList);
    EXPECT_EQ(SetMainFrm(&otherForm), &otherForm);
    EXPECT_EQ(SetIICInterFace(&otherBus), &otherBus);
    EXPECT_EQ(IspUnit->InfoList, &otherList);
    EXPECT_EQ(IspUnit->MainFrm, &otherForm);
    EXPECT_EQ(IspUnit->IicInterface, &otherBus);

    EXPECT_EQ(SetInfoList(nullptr), nullptr);
    EXPECT_EQ(SetMainFrm(nullptr), nullptr);
    EXPECT_EQ(SetIICInterFace(nullptr), nullptr);
    EXPECT_EQ(IspUnit->InfoList, nullptr);
    EXPECT_EQ(IspUnit->MainFrm, nullptr);
    EXPECT_EQ(IspUnit->IicInterface, nullptr);
}

TEST_F(Setters, LinesGoOnlyToTheLatestList) {
    Events otherEvents;
    RecordingStrings otherList{&otherEvents};
    SetInfoList(&list);
    SetInfoList(&otherList);
    EXPECT_FALSE(Erase()); // no bus object: clears and logs
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(otherEvents, (Events{"C", "L No I2C interface."}));

    SetInfoList(nullptr);
    EXPECT_FALSE(Erase());
    EXPECT_EQ(otherEvents.size(), 2u);
}

TEST(SettersUnloaded, StillReturnTheObject) {
    ASSERT_EQ(IspUnit, nullptr);
    Events events;
    RecordingStrings list{&events};
    FakeForm form;
    RecordingBus bus{&events, nullptr};
    EXPECT_EQ(SetInfoList(&list), &list);
    EXPECT_EQ(SetMainFrm(&form), &form);
    EXPECT_EQ(SetIICInterFace(&bus), &bus);
}

} // namespace
} // namespace rtd::test
