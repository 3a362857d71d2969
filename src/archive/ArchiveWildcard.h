#pragma once

#include <string>
#include <vector>

// Member names are matched as the archive tools of the original platform do: "*" and "?" are
// the only special characters, letters match without regard to case, "/" and "\" are the same
// separator, and "*" also crosses folders ("*.mid" finds dir/a.mid).
bool MatchArchiveWildcard(const char* pattern, const char* name) noexcept;

// Splits a command or filter text into its words: spaces separate them, double quotes keep a
// word with spaces together (the quotes are dropped).
std::vector<std::string> SplitArchiveWords(const char* text);
