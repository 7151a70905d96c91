// Open, length, allocation and read loop as FileReader::ReadFile does them; the buffer is
// freed after the clock stops.
#include "BareRead.h"

#include <sys/stat.h>

#include <chrono>
#include <stdexcept>

#include <wx/file.h>

#include "FileBuffer.h"

double TimeBareRead(const std::string& path)
{
    const auto start = std::chrono::steady_clock::now();
    struct stat status;
    if (stat(path.c_str(), &status) != 0)
        throw std::runtime_error("cannot stat " + path);
    wxFile file;
    if (!file.Open(path, wxFile::read))
        throw std::runtime_error("cannot open " + path);
    const auto size = static_cast<std::size_t>(file.Length());
    const FileBuffer buffer(size);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t count = file.Read(buffer.Data() + done, size - done);
        if (count <= 0)
            throw std::runtime_error("cannot read " + path);
        done += static_cast<std::size_t>(count);
    }
    const auto stop = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(stop - start).count();
}
