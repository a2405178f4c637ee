// One page's content in the format a command was asked for, as dump and batch write it.
#pragma once

#include "Args.h"

#include "host/PageDoc.h"

#include <string>

std::string ExportPage(const PageDoc& doc, const CommandArgs& args);

// The file name ending of a format's files: ".json", ".page.xml" or ".alto.xml".
std::string ExportSuffix(const std::string& format);
