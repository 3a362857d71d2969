// Reads arbitrary bytes as DRUV.INI: the settings must come out in range, whatever the file.
#include "FuzzInputFile.h"
#include "core/CLSError.h"
#include "settings/CLSDRUVSettings.h"
#include "settings/CLSIniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FuzzInputFile input("DRUV.INI");
    static const CLSError::Reporter quiet = CLSError::SetReporter([](const CLSError::Report&) {});
    const char* path = input.Write(data, size);

    CLSIniFile ini;
    ini.Read(path);
    int total = 0;
    for (const auto& [name, section] : ini.Sections()) {
        for (const auto& [key, value] : section) {
            int number = 0;
            CLSIniFile::ReadInt(section, key.Text(), number);
            total += number & 1;
        }
    }

    CLSDRUVSettings settings;
    settings.Load(path);
    for (int i = 0; i < settings.RecentMax(); ++i) {
        if (const char* recent = settings.GetRecentFile(i))
            total += recent[0];
    }
    return total == -1;
}
