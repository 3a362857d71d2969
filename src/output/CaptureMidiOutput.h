#pragma once

#include "output/MidiOutput.h"

#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

// Writes every message to a text file, one line each:
//   <sent_us> <due_us> <HEX bytes>
// both times in microseconds since Open, bytes as two-digit upper-case hex separated by
// spaces ("90 3C 64"). A reset is the line "<sent_us> <due_us> RESET". Used by tests,
// benchmarks and `druvel-cli play --device capture:FILE`. Lines reach the file at each Flush
// (the end of a tick), at Reset and at Close, so it can be followed while it grows.
class CaptureMidiOutput final : public MidiOutput {
public:
    // Each Open starts the file again; times count from that Open.
    CaptureMidiOutput(std::string path, const Clock& clock);
    // One of the outputs of a run that keeps one file: the first truncates, the others append,
    // and all count times from the run's `origin`.
    enum class Start : std::uint8_t { Truncate, Append };
    CaptureMidiOutput(std::string path, const Clock& clock, Start start, MonoTime origin);
    ~CaptureMidiOutput() override;

    int Open() override;
    int Reset() override;
    int ShortMsg(std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
                 MonoTime due) override;
    int LongMsg(const std::uint8_t* bytes, std::size_t length, MonoTime due) override;
    int SetVolume(std::uint32_t volume) override;
    int GetVolume(std::uint32_t& volume) override;
    int Close() override;
    void Flush() noexcept override;

private:
    struct FileCloser {
        void operator()(std::FILE* file) const noexcept { std::fclose(file); }
    };

    int WriteLine(const std::uint8_t* bytes, std::size_t length, MonoTime due);

    std::string m_path;
    const Clock& m_clock;
    std::mutex m_mutex;
    std::unique_ptr<std::FILE, FileCloser> m_file;
    Start m_start = Start::Truncate;
    std::optional<MonoTime> m_origin;
    MonoTime m_openedAt{};
    std::uint32_t m_volume = kFullVolume;
};
