// Writing a command's result: to a file, or to stdout when no file is named.
#pragma once

#include <string>
#include <string_view>

// False, with a one-line reason, when the file cannot be written whole.
bool WriteOutput(const std::string& path, std::string_view bytes, std::string& error);
