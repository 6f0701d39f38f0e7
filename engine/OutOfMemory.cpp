#include "engine/OutOfMemory.h"

#include <new>
#include <system_error>

#include "engine/Llista.h"
#include "sysutils/AvailableMemory.h"
#include "sysutils/Exception.h"

namespace engine {

void throwOutOfMemory(const char* message) { throw sysutils::Exception(message); }

void ensureMemoryFor(std::uint64_t bytes, const char* message) {
    if (bytes >= checkedAllocationBytes && bytes > sysutils::AvailableMemory()) throwOutOfMemory(message);
}

std::string runFailureText() {
    try {
        throw;
    } catch (const Llista<int>::noMem&) {
        return outOfMemoryMessageB;
    } catch (const std::bad_alloc&) {
        return outOfMemoryMessageB;
    } catch (const std::system_error& error) {
        // A thread that cannot be created: no memory for its stack, or too many threads.
        if (error.code() == std::errc::resource_unavailable_try_again || error.code() == std::errc::not_enough_memory)
            return outOfMemoryMessageB;
        return error.what();
    } catch (const std::exception& error) {
        return error.what();
    }
}

}  // namespace engine
