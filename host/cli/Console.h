// What the host shows while a command runs, as bench tools do: the plug-in's lines and
// progress on stderr (a bar redrawn in place on a terminal, one line per finished stage
// otherwise), the results on stdout (the host's notes, the result line), so that
// `isphost write F > result.txt` holds the results alone.
#ifndef RTD_HOST_CLI_CONSOLE_H
#define RTD_HOST_CLI_CONSOLE_H

#include <ostream>
#include <string>

#include "RunOutput.h"

namespace rtd::host {

class Console : public RunOutput {
public:
    enum class Mode {
        Terminal, // stderr is a terminal: a progress bar redrawn on one line
        Plain,    // no bar: one line per finished stage ("bank 0: pages sent")
        Quiet,    // only the result and errors
        Json      // one JSON object per event on stdout (docs/HOST.md)
    };

    // Errors are written as "<program>: reason", or as the bare reason without a program.
    Console(std::ostream& out, std::ostream& err, Mode mode, const char* program = "isphost")
        : out_(out), err_(err), mode_(mode), program_(program) {}

    void Line(const std::string& text) override;
    void Progress(int percent) override;
    void StageDone(const std::string& text) override;
    // A line about the run itself (the station's "Waiting for a board..."): stderr.
    void Status(const std::string& text);
    // The terminal's width, which the bar fits in.
    void SetColumns(int columns) { columns_ = columns; }
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
    int columns_ = 80;
    bool barShown_ = false;
    int lastPercent_ = -1;
    std::string firstError_;
    std::string lastLine_; // the plug-in's, shown or not
    bool explained_ = false;
};

// The bar as drawn on a terminal `columns` wide, without the leading carriage return:
// shorter than the width, so the terminal never wraps it; the percentage alone where
// no bar fits.
std::string RenderProgressBar(int percent, int columns = 80);

} // namespace rtd::host

#endif
