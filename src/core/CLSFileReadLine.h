#pragma once

#include "core/CLSTString.h"

// Reads a text file line by line as raw bytes. CR LF, a lone LF, a lone CR and a zero byte
// each end a line, also when a CR LF pair is split between two blocks.
class CLSFileReadLine {
public:
    static constexpr int kBlockSize = 1025;

    explicit CLSFileReadLine(const char* path = nullptr);
    ~CLSFileReadLine();
    CLSFileReadLine(const CLSFileReadLine&) = delete;
    CLSFileReadLine& operator=(const CLSFileReadLine&) = delete;

    bool Open(const char* path);
    int Close();
    bool IsEOF() const noexcept { return m_fd < 0 || m_atEnd; }
    bool ReadLine(CLSTString& line);

private:
    int ReadFull(char* buffer, int size);
    bool ReadBlock();

    int m_remaining = 0;
    bool m_atEnd = false;
    bool m_pendingCR = false;
    char m_block[kBlockSize + 1] = {};
    char* m_cursor = m_block;
    int m_fd = -1;
};
