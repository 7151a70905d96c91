// One block of memory that holds a whole table file. Large blocks are backed by huge pages
// where the system offers them: filling 100 MB of ordinary pages costs tens of thousands of
// page faults, which on some machines take longer than reading the file itself.
#pragma once

#include <cstddef>

class FileBuffer {
public:
    FileBuffer() = default;
    // Throws std::bad_alloc when the memory cannot be had.
    explicit FileBuffer(std::size_t size);
    ~FileBuffer();

    FileBuffer(FileBuffer&& other) noexcept;
    FileBuffer& operator=(FileBuffer&& other) noexcept;
    FileBuffer(const FileBuffer&) = delete;
    FileBuffer& operator=(const FileBuffer&) = delete;

    unsigned char* Data() const { return m_data; }
    std::size_t Size() const { return m_size; }
    explicit operator bool() const { return m_data != nullptr; }

private:
    void Release();

    unsigned char* m_data = nullptr;
    std::size_t m_size = 0;
    bool m_mapped = false;
};
