# Compiles every source of the engine and of the class-library services it uses with
# clang, our warning set and -Werror, without linking: the engine is also built with
# clang (the fuzz harnesses), and a GCC-only pragma or construct must not warn there.
#   cmake -DCLANG=clang++ -DSOURCE_ROOT=... -P ClangWarnings.cmake
file(GLOB sources ${SOURCE_ROOT}/engine/*.cpp ${SOURCE_ROOT}/engine/fast/*.cpp ${SOURCE_ROOT}/platform/sysutils/*.cpp)
set(failed 0)
foreach(source ${sources})
  execute_process(
    COMMAND ${CLANG} -std=c++20 -fsyntax-only -Wall -Wextra -Wpedantic -Wshadow -Werror
            -I${SOURCE_ROOT} -I${SOURCE_ROOT}/platform ${source}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message("${output}")
    set(failed 1)
  endif()
endforeach()
if(failed)
  message(FATAL_ERROR "clang warns about the sources above")
endif()
