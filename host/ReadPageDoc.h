// Reads the loaded page of an adaptor through the interfaces into a page document.
#pragma once

#include "PageDoc.h"

#include <kestrum/kestrum.h>

// `file` is the path the page was opened from; its extension names the format.
PageDoc ReadPageDoc(IDataAdaptor& adaptor, const std::string& file);

// "ps" or "s2" by the file's extension (any case), empty for anything else.
std::string PageFormatOf(const std::string& file);
