// What the host shows while a command runs: the message list's lines as they are added,
// progress as a bar on a terminal or as plain percentages otherwise, and the result.
#ifndef RTD_HOST_CONSOLE_H
#define RTD_HOST_CONSOLE_H

#include <ostream>
#include <string>

namespace rtd::host {

class Console {
public:
    enum class Mode {
        Terminal, // redrawn progress bar on one line
        Plain,    // one "NN%" line whenever the percentage changes
        Quiet     // only the result and errors
    };

    // Errors are written as "<program>: reason", or as the bare reason without a program.
    Console(std::ostream& out, std::ostream& err, Mode mode, const char* program = "isphost")
        : out_(out), err_(err), mode_(mode), program_(program) {}

    void Line(const std::string& text);
    void Progress(int percent);
    void Result(const std::string& text);
    void Error(const std::string& text);
    // Ends a progress bar that is still on screen.
    void Finish();

private:
    void EndBar();

    std::ostream& out_;
    std::ostream& err_;
    Mode mode_;
    const char* program_;
    bool barShown_ = false;
    int lastPercent_ = -1;
};

// The bar as drawn on a terminal, without the leading carriage return.
std::string RenderProgressBar(int percent);

} // namespace rtd::host

#endif
