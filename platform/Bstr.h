// BSTRs for the component's own use; the exported SysAllocString family lives in Bstr.cpp.
#pragma once

#include <kestrum/kestrum.h>

#include <string_view>

namespace kestrum {

// A new BSTR holding `narrow` converted with the thread's code page. An empty
// string gives an empty, non-null BSTR.
BSTR MakeBstr(std::string_view narrow);

}  // namespace kestrum
