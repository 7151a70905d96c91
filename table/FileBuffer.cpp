// Allocation of file buffers, with huge pages on Linux.
#include "FileBuffer.h"

#include <new>
#include <utility>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {
// Below this, ordinary allocation is as quick.
constexpr std::size_t kMappedFrom = 4u << 20;
}

FileBuffer::FileBuffer(std::size_t size) : m_size(size)
{
#if defined(__linux__)
    if (size >= kMappedFrom) {
        void* block = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (block == MAP_FAILED)
            throw std::bad_alloc();
        madvise(block, size, MADV_HUGEPAGE);  // a hint; without it the block still works
        m_data = static_cast<unsigned char*>(block);
        m_mapped = true;
        return;
    }
#endif
    m_data = new unsigned char[size == 0 ? 1 : size];
}

FileBuffer::~FileBuffer()
{
    Release();
}

FileBuffer::FileBuffer(FileBuffer&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0)),
      m_mapped(std::exchange(other.m_mapped, false))
{
}

FileBuffer& FileBuffer::operator=(FileBuffer&& other) noexcept
{
    if (this != &other) {
        Release();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_mapped = std::exchange(other.m_mapped, false);
    }
    return *this;
}

void FileBuffer::Release()
{
    if (!m_data)
        return;
#if defined(__linux__)
    if (m_mapped) {
        munmap(m_data, m_size);
        m_data = nullptr;
        return;
    }
#endif
    delete[] m_data;
    m_data = nullptr;
}
