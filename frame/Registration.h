// Where the class registry lives and what registering the module writes into it.
#pragma once

#include "frame/Registry.h"

#include <string>

namespace kestrum {

// $KESTRUM_REGISTRY, else $XDG_CONFIG_HOME/kestrum/registry, else ~/.config/kestrum/registry;
// empty when none can be named.
std::string RegistryPath();

// The module's keys, with `modulePath` as its in-process server.
void RegisterModule(CRegistryFile& registry, const std::string& modulePath);
// Removes the module's keys and leaves everything else, the CLSID and TypeLib roots included.
void UnregisterModule(CRegistryFile& registry);

// The CLSID text ("{...}") of a ProgID, following CurVer; false when it is not registered.
bool ClsidOfProgId(const CRegistryFile& registry, const std::string& progId, std::string& clsid);

}  // namespace kestrum
