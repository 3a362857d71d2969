#pragma once

// The readers under test take paths: each input is written to a file of the given name in a
// folder of this process's own, rewritten in place for every run.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

class FuzzInputFile {
public:
    explicit FuzzInputFile(const char* name) {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/druvel-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            std::abort();
        m_folder = pattern;
        m_path = m_folder + "/" + name;
    }
    ~FuzzInputFile() {
        std::remove(m_path.c_str());
        ::rmdir(m_folder.c_str());
    }
    FuzzInputFile(const FuzzInputFile&) = delete;
    FuzzInputFile& operator=(const FuzzInputFile&) = delete;

    const char* Write(const std::uint8_t* data, std::size_t size) {
        std::FILE* file = std::fopen(m_path.c_str(), "wb");
        if (!file || (size > 0 && std::fwrite(data, 1, size, file) != size) || std::fclose(file))
            std::abort();
        return m_path.c_str();
    }
    const std::string& Folder() const noexcept { return m_folder; }

private:
    std::string m_folder;
    std::string m_path;
};
