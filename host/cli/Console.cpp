#include "Console.h"

#include <algorithm>

#include "JsonText.h"

namespace rtd::host {

namespace {
constexpr int kBarWidth = 40;
constexpr int kBarFrame = 8; // "[", "] ", "100%" and the column a cursor needs
constexpr int kNarrowestBar = 10;
} // namespace

std::string RenderProgressBar(int percent, int columns) {
    // The plug-in only sends 0 to 100, but a foreign plug-in must not break the drawing.
    const int clamped = std::clamp(percent, 0, 100);
    const std::string number = std::to_string(clamped);
    const std::string tail = std::string(3 - number.size(), ' ') + number + "%";
    const int width = std::min(kBarWidth, columns - kBarFrame);
    if (width < kNarrowestBar)
        return tail;
    const int filled = clamped * width / 100;
    return "[" + std::string(filled, '#') + std::string(width - filled, ' ') + "] " + tail;
}

void Console::EndBar() {
    if (!barShown_)
        return;
    err_ << '\n';
    err_.flush();
    barShown_ = false;
}

void Console::JsonEvent(const char* event, const std::string& text) {
    out_ << JsonObject().Add("event", event).Add("text", text).Text() << '\n';
    out_.flush();
}

void Console::Line(const std::string& text) {
    lastLine_ = text;
    explained_ = false;
    if (mode_ == Mode::Quiet)
        return;
    if (mode_ == Mode::Json)
        return JsonEvent("line", text);
    if (barShown_ && lastPercent_ == 100) {
        EndBar(); // a finished bar stays on screen as the record of that stage
        err_ << text << '\n';
    } else if (barShown_) {
        // Overwrite the bar with the line; the next progress message draws it again below.
        const size_t width = RenderProgressBar(0, columns_).size();
        err_ << '\r' << text;
        if (text.size() < width)
            err_ << std::string(width - text.size(), ' ');
        err_ << '\n';
        barShown_ = false;
    } else {
        err_ << text << '\n';
    }
    err_.flush();
}

void Console::Progress(int percent) {
    switch (mode_) {
    case Mode::Quiet:
        return;
    case Mode::Terminal:
        out_.flush();
        err_ << '\r' << RenderProgressBar(percent, columns_);
        err_.flush();
        barShown_ = true;
        break;
    case Mode::Plain:
        break; // StageDone says when a stage ends
    case Mode::Json:
        if (percent == lastPercent_)
            return;
        out_ << JsonObject().Add("event", "progress").Add("percent", percent).Text() << '\n';
        out_.flush();
        break;
    }
    lastPercent_ = percent;
}

void Console::StageDone(const std::string& text) {
    if (mode_ != Mode::Plain)
        return; // the finished bar, or the progress events, already say it
    err_ << text << '\n';
    err_.flush();
}

void Console::Status(const std::string& text) {
    if (mode_ == Mode::Json)
        return JsonEvent("note", text);
    if (mode_ == Mode::Quiet)
        return;
    EndBar();
    err_ << text << '\n';
    err_.flush();
}

void Console::Result(const std::string& text) {
    if (mode_ == Mode::Json)
        return;
    EndBar();
    out_ << text << '\n';
    out_.flush();
}

void Console::Error(const std::string& text) {
    if (firstError_.empty())
        firstError_ = text;
    EndBar();
    if (mode_ == Mode::Json)
        JsonEvent("error", text);
    out_.flush();
    if (program_)
        err_ << program_ << ": ";
    err_ << text << '\n';
    err_.flush();
}

void Console::BusLine(const std::string& text) {
    EndBar();
    out_.flush();
    err_ << text << '\n';
}

void Console::Explain(const std::string& text) {
    if (mode_ == Mode::Quiet && !explained_ && !lastLine_.empty())
        Error(lastLine_);
    explained_ = true;
    Error(text);
}

void Console::Note(const std::string& text, bool evenQuiet) {
    if (mode_ == Mode::Json)
        return JsonEvent("note", text);
    if (mode_ == Mode::Quiet && !evenQuiet)
        return;
    EndBar();
    out_ << text << '\n';
    out_.flush();
}

void Console::Final(const std::string& resultJson) {
    if (mode_ != Mode::Json)
        return;
    out_ << resultJson << '\n';
    out_.flush();
}

void Console::Finish() {
    EndBar();
    out_.flush();
}

} // namespace rtd::host
