// What the user sees: lines, progress as a bar or as plain percentages, the result.
#include <gtest/gtest.h>

#include <sstream>

#include "Console.h"
#include "HostForm.h"
#include "HostStrings.h"
#include "JsonText.h"
#include "Trace.h"

namespace rtd::host {
namespace {

TEST(Console, ProgressBarFillsInProportionFitsTheTerminalAndClampsForeignValues) {
    const struct {
        int percent, columns;
        std::string bar;
    } cases[] = {
        {0, 80, "[" + std::string(40, ' ') + "]   0%"},
        {37, 80, "[" + std::string(14, '#') + std::string(26, ' ') + "]  37%"},
        {100, 200, "[" + std::string(40, '#') + "] 100%"},
        {250, 80, "[" + std::string(40, '#') + "] 100%"},
        {-5, 80, "[" + std::string(40, ' ') + "]   0%"},
        // Narrower than the bar: one column is left for the cursor, so nothing wraps.
        {50, 30, "[" + std::string(11, '#') + std::string(11, ' ') + "]  50%"},
        {50, 18, "[" + std::string(5, '#') + std::string(5, ' ') + "]  50%"},
        {50, 17, " 50%"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RenderProgressBar(c.percent, c.columns), c.bar) << c.percent << " " << c.columns;
        EXPECT_LT(RenderProgressBar(c.percent, c.columns).size(), size_t(c.columns));
    }
}

// One session: events in, the exact text out on each stream, for each mode. The
// plug-in's lines and progress go to stderr, the results to stdout.
TEST(Console, ModesShowTheSameSessionDifferently) {
    const auto run = [](Console::Mode mode) {
        std::ostringstream out, err;
        Console c(out, err, mode);
        c.SetColumns(30);
        c.Line("Begin...");
        c.Progress(0);
        c.Progress(0);
        c.Progress(50);
        c.Line("Write...");
        c.Progress(100);
        c.StageDone("bank 0: pages sent");
        c.Line("Fire Bank1...");
        c.Progress(10);
        c.Error("cannot save");
        c.Note("Summary: 1 bank");
        c.Result("write: OK");
        return std::make_pair(out.str(), err.str());
    };
    const std::string results = "Summary: 1 bank\nwrite: OK\n";
    const std::string error = "isphost: cannot save\n";
    const auto bar = [](int percent) { return "\r" + RenderProgressBar(percent, 30); };
    const struct {
        Console::Mode mode;
        std::string out, err;
    } cases[] = {
        {Console::Mode::Plain, results,
         "Begin...\nWrite...\nbank 0: pages sent\nFire Bank1...\n" + error},
        {Console::Mode::Quiet, "write: OK\n", error},
        // JSON: the result line is left to the result object.
        {Console::Mode::Json,
         "{\"event\":\"line\",\"text\":\"Begin...\"}\n{\"event\":\"progress\",\"percent\":0}\n"
         "{\"event\":\"progress\",\"percent\":50}\n{\"event\":\"line\",\"text\":\"Write...\"}\n"
         "{\"event\":\"progress\",\"percent\":100}\n{\"event\":\"line\",\"text\":\"Fire "
         "Bank1...\"}\n{\"event\":\"progress\",\"percent\":10}\n{\"event\":\"error\",\"text\":"
         "\"cannot save\"}\n{\"event\":\"note\",\"text\":\"Summary: 1 bank\"}\n",
         error},
        // A line overwrites an unfinished bar; a finished bar stays above the next line;
        // an error ends the bar first.
        {Console::Mode::Terminal, results,
         "Begin...\n" + bar(0) + bar(0) + bar(50) + "\rWrite..." +
             std::string(RenderProgressBar(0, 30).size() - 8, ' ') + "\n" + bar(100) +
             "\nFire Bank1...\n" + bar(10) + "\n" + error},
    };
    for (const auto& c : cases) {
        const auto [out, err] = run(c.mode);
        EXPECT_EQ(out, c.out) << static_cast<int>(c.mode);
        EXPECT_EQ(err, c.err) << static_cast<int>(c.mode);
    }
}

TEST(Json, StringsEscapeQuotesBackslashesControlsAndBytesThatAreNotUtf8) {
    const struct {
        std::string text, json;
    } cases[] = {
        {"", R"("")"},
        {"Crc Error!", R"("Crc Error!")"},
        {"a\"b\\c/", R"("a\"b\\c/")"},
        {"\n\r\t", R"("\n\r\t")"},
        {std::string("\x00\x01\x1F\x7F", 4), R"("\u0000\u0001\u001F\u007F")"},
        // UTF-8 as it is: two, three and four bytes.
        {"fw-\xC3\xA9.kvf \xE2\x82\xAC \xF0\x9F\x94\xA5",
         "\"fw-\xC3\xA9.kvf \xE2\x82\xAC \xF0\x9F\x94\xA5\""},
        {"\xE9t\xE9", R"("\u00E9t\u00E9")"},                             // Latin-1
        {"a\xC3", R"("a\u00C3")"},                                       // cut at the end
        {"\xE2\x82z", R"("\u00E2\u0082z")"},                             // cut before an ASCII byte
        {"\xC0\xAF\xE0\x80\xAF", R"("\u00C0\u00AF\u00E0\u0080\u00AF")"}, // overlong
        {"\xED\xA0\x80\xF4\x90\x80\x80", R"("\u00ED\u00A0\u0080\u00F4\u0090\u0080\u0080")"},
        {"\xFF\x80", R"("\u00FF\u0080")"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(JsonString(c.text), c.json) << c.json;
    EXPECT_EQ(JsonObject().Add("n", -3).Add("ok", false).Add("s", 0.5).AddRaw("a", "[]").Text(),
              R"({"n":-3,"ok":false,"s":0.500000,"a":[]})");
}

TEST(Console, JsonErrorsAreEventsAndStayOnTheErrorStream) {
    std::ostringstream out, err;
    Console c(out, err, Console::Mode::Json);
    c.Error("ch341:model: 2 bus transfers failed");
    c.Note("Bank 0: match");
    c.Final("{}");
    EXPECT_EQ(out.str(), "{\"event\":\"error\",\"text\":\"ch341:model: 2 bus transfers failed\"}\n"
                         "{\"event\":\"note\",\"text\":\"Bank 0: match\"}\n{}\n");
    EXPECT_EQ(err.str(), "isphost: ch341:model: 2 bus transfers failed\n");
    EXPECT_EQ(c.FirstError(), "ch341:model: 2 bus transfers failed");
}

// The message list and the form feed the same trace, in call order.
TEST(HostObjects, TraceLinesClearsAndDeliveredProgressInOrder) {
    const std::string path = ::testing::TempDir() + "host-objects.trace";
    std::ostringstream out, err;
    Console console(out, err, Console::Mode::Plain);
    Trace trace;
    std::string error;
    ASSERT_TRUE(trace.Open(path, &error)) << error;
    HostStrings strings({[&console](const std::string& line) { console.Line(line); }, nullptr},
                        &trace);
    std::unique_ptr<HostForm> form =
        CreateHostForm([&console](int percent) { console.Progress(percent); }, &trace, &error);
    ASSERT_TRUE(form) << error;

    strings.Clear();
    EXPECT_EQ(strings.Add("Begin..."), 0);
    EXPECT_EQ(strings.Add(nullptr), 1);
#if !defined(_WIN32)
    // Outside Windows progress waits in the form's queue until messages are processed.
    form->PostWindowMessage(RTD_PROGRESS_MESSAGE, 42, 0);
    form->PostWindowMessage(RTD_PROGRESS_MESSAGE + 1, 7, 0); // not progress: dropped
    EXPECT_EQ(form->Delivered(), 0);
#else
    form->PostWindowMessage(RTD_PROGRESS_MESSAGE, 42, 0);
#endif
    form->ProcessMessages();
    EXPECT_EQ(form->Delivered(), 1);
    ASSERT_TRUE(trace.Close());

    std::FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    char buffer[256] = {};
    const size_t n = std::fread(buffer, 1, sizeof buffer - 1, f);
    std::fclose(f);
    EXPECT_EQ(std::string(buffer, n), "C\nL Begin...\nL \nP 42\n");
    EXPECT_EQ(err.str(), "Begin...\n\n"); // no bar off a terminal
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(strings.Lines().size(), 2u);
}

} // namespace
} // namespace rtd::host
