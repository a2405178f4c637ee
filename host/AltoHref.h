// How a METS file written beside an ALTO file names it.
#pragma once

#include <string>

// Where the METS file at `mets` finds the ALTO file at `alto`: by name when both are
// in one folder, else by the ALTO file's full path.
std::string AltoHref(const std::string& alto, const std::string& mets);
