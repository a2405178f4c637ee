// Writing a command's result: to a file, or to stdout when no file is named.
#pragma once

#include <string>
#include <string_view>
#include <sys/types.h>

// False, with a one-line reason, when the file cannot be written whole. A new or
// regular file is written under a temporary name beside it and renamed when whole,
// so that no reader ever finds half a file under its name.
bool WriteOutput(const std::string& path, std::string_view bytes, std::string& error);

// The temporary name process `writer` writes `path` under.
std::string TemporaryNameOf(const std::string& path, pid_t writer);
