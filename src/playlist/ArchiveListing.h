#pragma once

#include "core/CLSError.h"
#include "core/CLSTString.h"

// The members of an archive whose names match filter (one or more wildcards), in archive
// order, folders and empty names left out. Errors are shown (module PLAYLIST) owned by owner;
// false then. An archive with no matching member gives true and no names.
bool ListArchiveMembers(OwnerWindow owner, const CLSTString& archivePath, const char* filter,
                        CLSTStringArray& names);

// The order of the chooser's sorted list: letters without regard to case, then bytes.
void SortMemberNames(CLSTStringArray& names);
