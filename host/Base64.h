// Base64 (RFC 4648, padded), for images embedded in a self-contained HTML file.
#pragma once

#include <string>
#include <string_view>

std::string Base64(std::string_view bytes);
