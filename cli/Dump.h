// `kestrum dump`: opens one page through the component's interfaces and prints
// everything a host can read from it as one JSON document.
#pragma once

#include "HostSettings.h"

#include <string>

// Exit codes: 0 done, 2 the page could not be opened or read.
int RunDump(const DumpOptions& options, std::string& json, std::string& error);
