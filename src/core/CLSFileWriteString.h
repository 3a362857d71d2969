#pragma once

#include "core/CLSTString.h"

// Writes texts and CR LF terminated lines straight through to a file (no buffering).
class CLSFileWriteString {
public:
    CLSFileWriteString() = default;
    ~CLSFileWriteString();
    CLSFileWriteString(const CLSFileWriteString&) = delete;
    CLSFileWriteString& operator=(const CLSFileWriteString&) = delete;

    bool Open(const char* path, bool append = false);
    // Creates a file that must not exist yet (and is no link); false when it exists.
    bool OpenNew(const char* path);
    // False when the system reports that written data may not have reached the file.
    bool Close();
    bool IsOpen() const noexcept { return m_fd >= 0; }

    void Write(const char* text);
    void Write(const CLSTString& text) { WriteBytes(text.Text(), text.Length()); }
    void Write(char c);
    void WriteLine(const char* text);
    void WriteLine(const CLSTString& text);
    void WriteLine(int value);
    void WriteLine(char c);

    // Forces the written bytes to the disk; false when the system reports a failure.
    bool Sync();

private:
    void WriteBytes(const char* data, int length);

    int m_fd = -1;
};
