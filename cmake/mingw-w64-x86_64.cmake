# Cross-build of the Windows x86-64 executable with MinGW-w64 (the Debian
# package g++-mingw-w64-x86-64):
#
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DQUILLARET_BUILD_TESTS=OFF
#
# The executable is linked statically, so that users need nothing but
# quillaret.exe and the lexicons: no libstdc++, libgcc or winpthread DLL.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUILLARET_MINGW_PREFIX x86_64-w64-mingw32 CACHE STRING "MinGW-w64 tool prefix")
# The posix thread model: std::thread, std::mutex and std::condition_variable
# work, and its thread library links statically like the rest.
set(CMAKE_C_COMPILER ${QUILLARET_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUILLARET_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${QUILLARET_MINGW_PREFIX}-windres)

# Headers and libraries come from the MinGW sysroot only; programs (cmake,
# the host tools) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${QUILLARET_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

