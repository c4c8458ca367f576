#include "runs/session_log.h"

#include <cstdint>
#include <filesystem>
#include <system_error>

#include "reports/interactive_log.h"
#include "runs/output_point_file.h"

bool OpenSessionLog(Out_Fic& log, const std::string& folder) {
    const std::string current = folder + kInteractiveLogName;
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(current, error);
    if (!error && size > 0) {
        std::filesystem::rename(current, folder + kPreviousInteractiveLogName, error);
        // Opening would empty the entries that could not be set aside.
        if (error) return false;
    }
    return log.Open(current);
}
