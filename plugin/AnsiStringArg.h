// A host string received by value: holds the plug-in's reference for the length of one
// export call and gives the text as a private copy.
#ifndef RTD_PLUGIN_ANSISTRINGARG_H
#define RTD_PLUGIN_ANSISTRINGARG_H

#include <string>

#include "rtd2120/rtd2120.h"

class AnsiStringArg {
public:
    // Adds one reference unless the string is null or a constant (count -1).
    explicit AnsiStringArg(AnsiStringPtr s);
    // Drops the reference again. Never frees: the host still holds its own.
    ~AnsiStringArg();
    AnsiStringArg(const AnsiStringArg&) = delete;
    AnsiStringArg& operator=(const AnsiStringArg&) = delete;

    // The characters up to the stored length or the first zero byte, whichever comes
    // first; null or a negative length give the empty string.
    std::string Text() const;

private:
    AnsiStringPtr s_;
    bool counted_ = false;
};

#endif
