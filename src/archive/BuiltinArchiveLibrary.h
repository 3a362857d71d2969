#pragma once

#include "core/ArchiveLibrary.h"

#include <memory>

// The archive libraries as this system ships them: "UNLHA32.DLL" and "UNZIP32.DLL" served by
// one built-in reader, each with its own export names. Null for any other file name.
std::unique_ptr<ArchiveLibrary> LoadBuiltinArchiveLibrary(const char* fileName);
