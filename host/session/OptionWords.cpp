#include "OptionWords.h"

#include <cstddef>

namespace rtd::host {

namespace {

const OptionWord* FindOption(const std::vector<OptionWord>& rows, const std::string& name) {
    for (const OptionWord& row : rows)
        if (name == row.name || (row.alias && name == row.alias))
            return &row;
    return nullptr;
}

bool TakeOption(const std::vector<std::string>& args, size_t* i,
                const std::vector<OptionWord>& rows, std::string* error, NotAValue notAValue) {
    const std::string& arg = args[*i];
    const size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    const bool inlineValue = equals != std::string::npos;
    const OptionWord* row = FindOption(rows, name);
    if (!row) {
        *error = "unknown option " + name;
        return false;
    }
    if (row->flag) {
        if (inlineValue) {
            *error = name + " takes no value";
            return false;
        }
        *row->flag = true;
        return true;
    }
    std::string value;
    if (inlineValue)
        value = arg.substr(equals + 1);
    else if (*i + 1 < args.size() && args[*i + 1].rfind("--", 0) != 0 &&
             !(notAValue && notAValue(args[*i + 1])))
        value = args[++*i];
    if (value.empty()) {
        *error = name + " needs a value";
        return false;
    }
    if (row->values)
        row->values->push_back(value);
    else
        *row->value = value;
    return true;
}

} // namespace

bool ReadOptionWords(const std::vector<std::string>& args, const std::vector<OptionWord>& rows,
                     std::vector<std::string>* words, std::string* error, NotAValue notAValue) {
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            if (!TakeOption(args, &i, rows, error, notAValue))
                return false;
        } else {
            words->push_back(arg);
        }
    }
    return true;
}

} // namespace rtd::host
