// The words of a command line, read against a front end's own option rows: options
// anywhere before "--" ("--name VALUE", "--name=VALUE", flags without a value), every
// other word collected in order. isphost and ispgui each give their rows.
#ifndef RTD_HOST_SESSION_OPTIONWORDS_H
#define RTD_HOST_SESSION_OPTIONWORDS_H

#include <string>
#include <vector>

namespace rtd::host {

// One option and where its value goes: exactly one of the three slots is set.
struct OptionWord {
    const char* name;                           // "--bus"
    const char* alias = nullptr;                // "-q"
    std::string* value = nullptr;               // takes a value; the last one given counts
    std::vector<std::string>* values = nullptr; // takes a value, repeatable, in order
    bool* flag = nullptr;                       // takes no value
};

// Tells a word that is never the value of the option before it (a command name), so a
// forgotten value is refused rather than taking the command.
using NotAValue = bool (*)(const std::string& word);

// False, with a one-line reason, on an unknown option, a flag given a value or an option
// missing its value. "--name VALUE" never takes a VALUE that starts with "--" or that
// `notAValue` tells; "--name=VALUE" takes any.
bool ReadOptionWords(const std::vector<std::string>& args, const std::vector<OptionWord>& rows,
                     std::vector<std::string>* words, std::string* error,
                     NotAValue notAValue = nullptr);

} // namespace rtd::host

#endif
