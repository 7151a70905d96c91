// Reading /proc.
#include "Machine.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

// The value after "key:" on the first line of `path` that starts with `key`.
std::string ProcValue(const char* path, const std::string& key)
{
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.compare(0, key.size(), key) != 0)
            continue;
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        const std::size_t start = line.find_first_not_of(" \t", colon + 1);
        return start == std::string::npos ? std::string() : line.substr(start);
    }
    return {};
}

}  // namespace

std::uint64_t ProcessMemory(const char* field)
{
    const std::string value = ProcValue("/proc/self/status", std::string(field) + ":");
    return value.empty() ? 0 : std::stoull(value) * 1024;  // the kernel writes kB
}

ResidentMemory ReadResidentMemory()
{
    ResidentMemory memory;
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        const bool current = line.compare(0, 6, "VmRSS:") == 0;
        const bool peak = line.compare(0, 6, "VmHWM:") == 0;
        if (current || peak)
            (current ? memory.current : memory.peak) = std::stoull(line.substr(6)) * 1024;
    }
    return memory;
}

bool ResetPeakMemory()
{
    std::FILE* file = std::fopen("/proc/self/clear_refs", "w");
    if (!file)
        return false;
    const bool written = std::fputs("5", file) >= 0;
    return std::fclose(file) == 0 && written;
}

std::string MachineDescription()
{
    std::ostringstream text;
    const long cores = sysconf(_SC_NPROCESSORS_ONLN);
    std::string cpu = ProcValue("/proc/cpuinfo", "model name");
    if (cpu.empty())
        cpu = "unknown CPU";
    const std::string total = ProcValue("/proc/meminfo", "MemTotal:");
    const double gib = total.empty() ? 0.0 : std::stod(total) / (1024.0 * 1024.0);
    text << cores << (cores == 1 ? " core, " : " cores, ") << cpu << ", ";
    text.precision(1);
    text << std::fixed << gib << " GiB memory";
    return text.str();
}
