// What the benchmark learns from /proc: this process's resident memory and the machine it runs on.
#pragma once

#include <cstdint>
#include <string>

// A field of /proc/self/status such as "VmRSS" or "VmHWM", in bytes (0 when absent).
std::uint64_t ProcessMemory(const char* field);

// Resident memory now and its peak so far, in bytes, from one read of /proc/self/status.
struct ResidentMemory {
    std::uint64_t current = 0;
    std::uint64_t peak = 0;
};
ResidentMemory ReadResidentMemory();

// Lower the peak resident size (VmHWM) to the current one; false where the kernel refuses.
bool ResetPeakMemory();

// "2 cores, AMD EPYC, 23.5 GiB memory"
std::string MachineDescription();
