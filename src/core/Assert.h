#pragma once

// Internal consistency checks: report "Assertion failed: COND, file FILE, line N" and end the
// process. FILE is the short source name the reports use (for example "vector").
[[noreturn]] void DruvelAssertFailed(const char* condition, const char* file, int line) noexcept;

#define DRUV_ASSERT(cond, file)                                                                    \
    ((cond) ? static_cast<void>(0) : DruvelAssertFailed(#cond, file, __LINE__))
