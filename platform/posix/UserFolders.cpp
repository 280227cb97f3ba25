#include "posix/UserFolders.h"

namespace rtd::posix {
namespace {

const char kProgramFolder[] = "rtd2120/";

std::string WithSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder;
}

} // namespace

std::string UserFolder(UserFolderKind kind, const std::string& xdgHome, const std::string& home) {
    if (!xdgHome.empty() && xdgHome.front() == '/')
        return WithSlash(xdgHome) + kProgramFolder;
    if (home.empty() || home.front() != '/')
        return std::string();
    return WithSlash(home) + (kind == UserFolderKind::Config ? ".config/" : ".local/share/") +
           kProgramFolder;
}

std::string ChooseFilePlace(const FilePlaceFacts& facts, UserFolderKind kind,
                            const std::string& fileName) {
    const std::string user = UserFolder(kind, facts.xdgHome, facts.home);
    const bool besideUsable = !facts.systemFolder && (facts.fileBeside || facts.folderWritable);
    if (besideUsable || user.empty())
        return facts.exeFolder + fileName;
    return user + fileName;
}

bool IsSystemPrefix(const std::string& folder) {
    for (const char* prefix : {"/usr/", "/bin/", "/sbin/", "/opt/"})
        if (WithSlash(folder).compare(0, std::string(prefix).size(), prefix) == 0)
            return true;
    return false;
}

} // namespace rtd::posix
