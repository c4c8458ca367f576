#pragma once

#include <optional>
#include <string>

// The few services of the operating system that start-up and the runs use.
// Paths and values are UTF-8.

// The current directory of the process, without a trailing separator;
// nothing when it cannot be read (for example after it was removed).
std::optional<std::string> GetCurrentDirectory();

// Makes `path` the current directory; false when it cannot be entered.
bool SetCurrentDirectory(const std::string& path);

// The value of an environment variable; nothing when it is not set.
std::optional<std::string> GetEnvironmentVariable(const std::string& name);

// Whether a regular file (or a link to one) exists at `path`.
bool FileExists(const std::string& path);

// Why a file could not be opened, in a French sentence, from the system's
// error number (missing, permission, a folder, disk full...).
std::string FileOpenFailureReason(int error);
