#pragma once

// Opens a file the user named for reading: only a regular file. A FIFO, socket or device would
// block the open (or every read) for as long as nobody writes to it, so those, and folders, are
// refused at once. Returns the descriptor (blocking, close-on-exec), or -1 with errno set.
int OpenForReading(const char* path) noexcept;
