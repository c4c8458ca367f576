#include "shared/platform.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

std::optional<std::string> GetCurrentDirectory() {
    std::vector<char> buffer(512);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE || buffer.size() > (1u << 20)) return std::nullopt;
        buffer.resize(buffer.size() * 2);
    }
    // A removed directory is reported by some systems as "(unreachable)/...".
    if (buffer[0] != '/') return std::nullopt;
    return std::string(buffer.data());
}

bool SetCurrentDirectory(const std::string& path) {
    return !path.empty() && ::chdir(path.c_str()) == 0;
}

std::optional<std::string> GetEnvironmentVariable(const std::string& name) {
    if (name.empty() || name.find('=') != std::string::npos) return std::nullopt;
    const char* value = std::getenv(name.c_str());
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

bool FileExists(const std::string& path) {
    struct stat info;
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string FileOpenFailureReason(int error) {
    switch (error) {
        case ENOENT:
            return "Le fichier ou son dossier n'existe pas.";
        case EACCES:
        case EPERM:
            return "Permission refusée.";
        case EISDIR:
            return "C'est un dossier, pas un fichier.";
        case ENOTDIR:
            return "Un élément du chemin n'est pas un dossier.";
        case ENOSPC:
        case EDQUOT:
            return "Le disque est plein.";
        case EROFS:
            return "Le disque est en lecture seule.";
        case ENAMETOOLONG:
            return "Le nom du fichier est trop long.";
        case EMFILE:
        case ENFILE:
            return "Trop de fichiers sont ouverts.";
        case ETXTBSY:
        case EBUSY:
            return "Le fichier est occupé par un autre programme.";
        case ELOOP:
            return "Trop de liens symboliques dans le chemin.";
        default:
            return "Erreur du système numéro " + std::to_string(error) + ".";
    }
}
