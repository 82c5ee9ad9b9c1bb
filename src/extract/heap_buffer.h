// A byte buffer of the C heap: left uninitialised (pages that are never written
// cost no memory) and able to grow in place (a large block is moved by
// remapping its pages, not by copying them).
#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>

namespace kestrum {

class HeapBuffer {
public:
    HeapBuffer() = default;
    explicit HeapBuffer(std::size_t size) { Resize(size); }

    unsigned char* data() const { return m_data.get(); }

    // Keeps the first bytes; raises std::bad_alloc when the size cannot be met.
    void Resize(std::size_t size) {
        void* grown = std::realloc(m_data.get(), size == 0 ? 1 : size);
        if (!grown) throw std::bad_alloc();
        (void)m_data.release();
        m_data.reset(static_cast<unsigned char*>(grown));
    }

    void Release() { m_data.reset(); }

private:
    struct Free {
        void operator()(unsigned char* p) const noexcept { std::free(p); }
    };
    std::unique_ptr<unsigned char, Free> m_data;
};

}  // namespace kestrum
