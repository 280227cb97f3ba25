// The one loader of run-time libraries, on the built plug-in.
#include <gtest/gtest.h>

#include "BuildPath.h"
#include "DynamicLibrary.h"
#include "rtd2120/rtd2120.h"

namespace rtd::host {
namespace {

bool RTD_STDCALL SupportStub() {
    return false;
}

TEST(DynamicLibrary, ResolveFillsWhatItFindsAndKeepsTheFirstMissingName) {
    std::string reason;
    auto library = DynamicLibrary::Open(rtd::test::NativeBuildPath(RTD_TEST_PLUGIN),
                                        DynamicLibrary::Search::Path, &reason);
    ASSERT_TRUE(library) << reason;
    EXPECT_EQ(library->FirstMissing(), "");
    SupportFn erase = nullptr, reset = nullptr;
    SupportFn missing = &SupportStub, alsoMissing = &SupportStub;
    library->Resolve("SupportErase", &erase)
        .Resolve("NoSuchExport", &missing)
        .Resolve("SupportReset", &reset)
        .Resolve("AlsoMissing", &alsoMissing);
    ASSERT_NE(erase, nullptr);
    EXPECT_NE(reset, nullptr);
    EXPECT_EQ(missing, nullptr);
    EXPECT_EQ(alsoMissing, nullptr);
    EXPECT_EQ(library->FirstMissing(), "NoSuchExport");
    EXPECT_TRUE(erase()); // a function of the loaded library
}

TEST(DynamicLibrary, AFileThatCannotBeLoadedIsRefusedWithItsName) {
    for (const DynamicLibrary::Search search :
         {DynamicLibrary::Search::Path, DynamicLibrary::Search::SystemFolders}) {
        std::string reason;
        EXPECT_FALSE(DynamicLibrary::Open("no-such-library.so", search, &reason));
        EXPECT_NE(reason.find("no-such-library.so"), std::string::npos) << reason;
    }
}

} // namespace
} // namespace rtd::host
