#include "engine/OutOfMemory.h"

#include "sysutils/Exception.h"

namespace engine {

void throwOutOfMemory(const char* message) { throw sysutils::Exception(message); }

}  // namespace engine
