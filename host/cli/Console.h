// What the host shows while a command runs: the message list's lines as they are added,
// progress as a bar on a terminal or as plain percentages otherwise, and the result.
#ifndef RTD_HOST_CLI_CONSOLE_H
#define RTD_HOST_CLI_CONSOLE_H

#include <ostream>
#include <string>

#include "RunOutput.h"

namespace rtd::host {

class Console : public RunOutput {
public:
    enum class Mode {
        Terminal, // redrawn progress bar on one line
        Plain,    // one "NN%" line whenever the percentage changes
        Quiet,    // only the result and errors
        Json      // one JSON object per event on stdout (docs/HOST.md)
    };

    // Errors are written as "<program>: reason", or as the bare reason without a program.
    Console(std::ostream& out, std::ostream& err, Mode mode, const char* program = "isphost")
        : out_(out), err_(err), mode_(mode), program_(program) {}

    void Line(const std::string& text) override;
    void Progress(int percent) override;
    void Result(const std::string& text);
    // stderr, and an "error" event in JSON.
    void Error(const std::string& text) override;
    void Note(const std::string& text, bool evenQuiet = false) override;
    // On stderr, in every mode: asked for with --verbose.
    void BusLine(const std::string& text) override;
    // Quiet: the plug-in's last line (why it failed) first, as it was not shown.
    void Explain(const std::string& text) override;
    // JSON: the closing "result" object (text modes print the result with Result).
    void Final(const std::string& resultJson);
    const std::string& FirstError() const override { return firstError_; }
    // Ends a progress bar that is still on screen.
    void Finish() override;

private:
    void EndBar();
    void JsonEvent(const char* event, const std::string& text);

    std::ostream& out_;
    std::ostream& err_;
    Mode mode_;
    const char* program_;
    bool barShown_ = false;
    int lastPercent_ = -1;
    std::string firstError_;
    std::string lastLine_; // the plug-in's, shown or not
    bool explained_ = false;
};

// The bar as drawn on a terminal, without the leading carriage return.
std::string RenderProgressBar(int percent);

} // namespace rtd::host

#endif
