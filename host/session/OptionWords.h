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

// False, with a one-line reason, on an unknown option, a flag given a value or an option
// missing its value.
bool ReadOptionWords(const std::vector<std::string>& args, const std::vector<OptionWord>& rows,
                     std::vector<std::string>* words, std::string* error);

} // namespace rtd::host

#endif
