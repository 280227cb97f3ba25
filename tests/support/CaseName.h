// Names parameterised cases after their `name` field, as GoogleTest accepts them.
#ifndef RTD_TESTS_SUPPORT_CASENAME_H
#define RTD_TESTS_SUPPORT_CASENAME_H

#include <cctype>
#include <string>

namespace rtd::test {

struct CaseName {
    template <class Info> std::string operator()(const Info& info) const {
        std::string n = info.param.name;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return n;
    }
};

} // namespace rtd::test

#endif
