// The program is built without exceptions, yet the standard library's string, set and vector
// still report an impossible size or a failed allocation through the functions below. The
// library's own versions throw, and linking them brings the whole exception runtime along: the
// unwinder, the terminate handler with its name demangler, and a printf (about 140 KiB). Here a
// failure ends the process at once, which is what an exception that nothing catches does too.
// Every function of the library's object that defines them is replaced, so that the object is
// never linked; a new one that the library starts to need shows as a duplicate definition.
#include <bits/functexcept.h>

#include <cstdlib>
#include <new>

namespace {

[[noreturn]] void fail() { std::abort(); }

void* allocate(std::size_t size)
{
    if (void* block = std::malloc(size ? size : 1))
        return block;
    fail();
}

} // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

namespace std {

void __throw_bad_exception() { fail(); }
void __throw_bad_alloc() { fail(); }
void __throw_bad_array_new_length() { fail(); }
void __throw_bad_cast() { fail(); }
void __throw_bad_typeid() { fail(); }
void __throw_logic_error(const char*) { fail(); }
void __throw_domain_error(const char*) { fail(); }
void __throw_invalid_argument(const char*) { fail(); }
void __throw_length_error(const char*) { fail(); }
void __throw_out_of_range(const char*) { fail(); }
void __throw_out_of_range_fmt(const char*, ...) { fail(); }
void __throw_runtime_error(const char*) { fail(); }
void __throw_range_error(const char*) { fail(); }
void __throw_overflow_error(const char*) { fail(); }
void __throw_underflow_error(const char*) { fail(); }

} // namespace std
