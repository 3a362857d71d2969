#include "core/CLSFileWriteString.h"

#include "core/CLSError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {
constexpr const char* kModule = "READLINE";
constexpr int kErrWrite = 9;
} // namespace

CLSFileWriteString::~CLSFileWriteString() {
    Close();
}

bool CLSFileWriteString::Open(const char* path, bool append) {
    Close();
    if (!path)
        return false;
    const int flags = append ? (O_RDWR | O_CREAT | O_APPEND) : (O_WRONLY | O_CREAT | O_TRUNC);
    m_fd = ::open(path, flags | O_CLOEXEC, 0644);
    return m_fd >= 0;
}

bool CLSFileWriteString::OpenNew(const char* path) {
    Close();
    if (!path)
        return false;
    m_fd = ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    return m_fd >= 0;
}

bool CLSFileWriteString::Close() {
    if (m_fd < 0)
        return true;
    const int result = ::close(m_fd);
    m_fd = -1;
    return result == 0;
}

void CLSFileWriteString::WriteBytes(const char* data, int length) {
    if (m_fd < 0)
        throw CLSError(kErrWrite, kModule, __LINE__);
    std::size_t left = static_cast<std::size_t>(length);
    while (left > 0) {
        const ssize_t n = ::write(m_fd, data, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw CLSError(kErrWrite, kModule, __LINE__);
        data += n;
        left -= static_cast<std::size_t>(n);
    }
}

void CLSFileWriteString::Write(const char* text) {
    if (text)
        WriteBytes(text, static_cast<int>(std::strlen(text)));
}

void CLSFileWriteString::Write(char c) {
    if (c != 0)
        WriteBytes(&c, 1);
}

void CLSFileWriteString::WriteLine(const char* text) {
    Write(text);
    WriteBytes("\r\n", 2);
}

void CLSFileWriteString::WriteLine(const CLSTString& text) {
    Write(text);
    WriteBytes("\r\n", 2);
}

void CLSFileWriteString::WriteLine(int value) {
    WriteLine(std::to_string(value).c_str());
}

void CLSFileWriteString::WriteLine(char c) {
    Write(c);
    WriteBytes("\r\n", 2);
}

bool CLSFileWriteString::Sync() {
    return m_fd >= 0 && ::fsync(m_fd) == 0;
}
