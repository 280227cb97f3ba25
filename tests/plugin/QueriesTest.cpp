// The query exports write exactly their text and terminator; the setters replace the
// object and hand back what they were given.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Ispunit.h"
#include "Lifetime.h"
#include "PluginFixture.h"
#include "rtd2120/rtd2120.h"

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

// Queries answer the same with and without an engine object; a null buffer is left alone.
void ExpectTextQueries() {
    for (const TextQuery& q : kTextQueries) {
        SCOPED_TRACE(q.name);
        EXPECT_EQ(q.query(nullptr), nullptr);
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

TEST_F(Setters, StoreReplaceAndReturnTheObject) {
    RecordingStrings otherList{&events};
    FakeForm otherForm;
    RecordingBus otherBus{&events, nullptr};
    const struct {
        TStrings* list;
        TForm* form;
        TIicInterface* bus;
    } rounds[] = {{&list, &form, &bus}, {&otherList, &otherForm, &otherBus}, {}};
    for (const auto& r : rounds) {
        EXPECT_EQ(SetInfoList(r.list), r.list);
        EXPECT_EQ(SetMainFrm(r.form), r.form);
        EXPECT_EQ(SetIICInterFace(r.bus), r.bus);
        EXPECT_EQ(IspUnit->InfoList, r.list);
        EXPECT_EQ(IspUnit->MainFrm, r.form);
        EXPECT_EQ(IspUnit->IicInterface, r.bus);
    }
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
