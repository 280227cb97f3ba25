#include "Console.h"

#include <algorithm>

#include "JsonText.h"

namespace rtd::host {

namespace {
constexpr int kBarWidth = 40;
}

std::string RenderProgressBar(int percent) {
    // The plug-in only sends 0 to 100, but a foreign plug-in must not break the drawing.
    const int clamped = std::clamp(percent, 0, 100);
    const int filled = clamped * kBarWidth / 100;
    std::string bar = "[" + std::string(filled, '#') + std::string(kBarWidth - filled, ' ') + "] ";
    const std::string number = std::to_string(clamped);
    bar += std::string(3 - number.size(), ' ') + number + "%";
    return bar;
}

void Console::EndBar() {
    if (!barShown_)
        return;
    out_ << '\n';
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
        out_ << text << '\n';
    } else if (barShown_) {
        // Overwrite the bar with the line; the next progress message draws it again below.
        const size_t width = RenderProgressBar(0).size();
        out_ << '\r' << text;
        if (text.size() < width)
            out_ << std::string(width - text.size(), ' ');
        out_ << '\n';
        barShown_ = false;
    } else {
        out_ << text << '\n';
    }
    out_.flush();
}

void Console::Progress(int percent) {
    switch (mode_) {
    case Mode::Quiet:
        return;
    case Mode::Terminal:
        out_ << '\r' << RenderProgressBar(percent);
        barShown_ = true;
        break;
    case Mode::Plain:
    case Mode::Json:
        if (percent == lastPercent_)
            return;
        if (mode_ == Mode::Json)
            out_ << JsonObject().Add("event", "progress").Add("percent", percent).Text() << '\n';
        else
            out_ << percent << "%\n";
        break;
    }
    lastPercent_ = percent;
    out_.flush();
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
