// A library loaded at run time and the functions found in it by name: the plug-in and the
// adapter makers' DLLs (CH341DLL.DLL, ftd2xx.dll). The only code of the hosts that looks
// up a symbol.
#ifndef RTD_HOST_SYSTEM_DYNAMICLIBRARY_H
#define RTD_HOST_SYSTEM_DYNAMICLIBRARY_H

#include <memory>
#include <string>

namespace rtd::host {

class DynamicLibrary {
public:
    enum class Search {
        Path,         // the path as given (a bare name is taken from the current folder)
        SystemFolders // the program's folder and the system's: never the current folder or
                      // PATH, where any file of that name would otherwise be loaded
    };

    // Null, with a one-line reason naming the file, when it cannot be loaded.
    static std::unique_ptr<DynamicLibrary> Open(const std::string& name, Search search,
                                                std::string* reason);
    ~DynamicLibrary(); // unloads the library
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    // Puts the function `name` in `slot`, or null when the library has none (an older or
    // foreign library of that name); the first name missing is kept.
    template <class Fn> DynamicLibrary& Resolve(const char* name, Fn* slot) {
        void* symbol = Find(name);
        *slot = reinterpret_cast<Fn>(symbol);
        if (!symbol && missing_.empty())
            missing_ = name;
        return *this;
    }
    // The first name Resolve did not find; empty while every one was found.
    const std::string& FirstMissing() const { return missing_; }

private:
    explicit DynamicLibrary(void* handle) : handle_(handle) {}
    void* Find(const char* name) const;

    void* handle_;
    std::string missing_;
};

} // namespace rtd::host

#endif
