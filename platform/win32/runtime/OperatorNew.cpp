// The Windows programs' operator new and delete, straight on the C runtime's
// heap. libstdc++'s own versions throw std::bad_alloc, and that one throw
// drags the whole unwinder, the exception runtime and the symbol demangler
// into every program: about three times the size of the setup's own code.
// Nothing of ours catches exceptions (they are compiled out), so running out
// of memory in a new ends the program as the uncaught bad_alloc would have;
// the allocations that can fail gracefully use malloc and report it.
#include <cstdlib>
#include <new>

namespace {

void* allocate(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) std::abort();
    return block;
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size == 0 ? 1 : size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size == 0 ? 1 : size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }
