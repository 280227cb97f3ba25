// Where an installed program keeps its files on POSIX: beside the executable when its
// folder is the program's own (a build tree, an unpacked archive), else in the user's
// folders ($XDG_CONFIG_HOME or ~/.config for settings, $XDG_DATA_HOME or ~/.local/share
// for data, then "rtd2120/"). The choice is made from facts gathered by the caller, so
// every combination can be checked without touching the disk.
#ifndef RTD_PLATFORM_POSIX_USERFOLDERS_H
#define RTD_PLATFORM_POSIX_USERFOLDERS_H

#include <string>

namespace rtd::posix {

struct FilePlaceFacts {
    std::string exeFolder;   // ends with "/"; empty when unknown
    bool fileBeside = false; // the file exists in exeFolder
    bool folderWritable = false;
    bool systemFolder = false; // root's folder under /usr, /bin, /sbin or /opt
    std::string xdgHome;       // $XDG_CONFIG_HOME or $XDG_DATA_HOME as found (may be empty)
    std::string home;          // $HOME
};

// "~/.config" or "~/.local/share", the default below $HOME of the XDG variable.
enum class UserFolderKind { Config, Data };

// The user's folder for this program, ending with "/"; empty when neither the XDG
// variable (absolute paths only, as XDG requires) nor $HOME names one.
std::string UserFolder(UserFolderKind kind, const std::string& xdgHome, const std::string& home);

// Beside the executable when a file is there already or the folder can be written, and
// never in a system folder (so that not even root's run leaves a file in /usr/bin);
// else in the user's folder. Read and write use the same place, so a value is read
// back from where it was saved. With no user folder either: beside the executable.
std::string ChooseFilePlace(const FilePlaceFacts& facts, UserFolderKind kind,
                            const std::string& fileName);

// True for a folder under one of the system's program prefixes.
bool IsSystemPrefix(const std::string& folder);

} // namespace rtd::posix

#endif
