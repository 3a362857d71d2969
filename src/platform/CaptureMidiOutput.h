#pragma once

#include "platform/MidiOutput.h"

#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

// Writes every message to a text file, one line each:
//   <sent_us> <due_us> <HEX bytes>
// both times in microseconds since Open, bytes as two-digit upper-case hex separated by
// spaces ("90 3C 64"). A reset is the line "<sent_us> <due_us> RESET". Used by tests,
// benchmarks and `druvel-cli play --device capture:FILE`.
class CaptureMidiOutput final : public MidiOutput {
public:
    CaptureMidiOutput(std::string path, const Clock& clock);
    ~CaptureMidiOutput() override;

    int Open() override;
    int Reset() override;
    int ShortMsg(std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
                 MonoTime due) override;
    int LongMsg(const std::uint8_t* bytes, std::size_t length, MonoTime due) override;
    int SetVolume(std::uint32_t volume) override;
    int GetVolume(std::uint32_t& volume) override;
    int Close() override;

private:
    struct FileCloser {
        void operator()(std::FILE* file) const noexcept { std::fclose(file); }
    };

    int WriteLine(const std::uint8_t* bytes, std::size_t length, MonoTime due);

    std::string m_path;
    const Clock& m_clock;
    std::mutex m_mutex;
    std::unique_ptr<std::FILE, FileCloser> m_file;
    MonoTime m_openedAt{};
    std::uint32_t m_volume = kFullVolume;
};
