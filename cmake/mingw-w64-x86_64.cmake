# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (GCC, posix threads).
#
#   cmake -S . -B build-windows --toolchain cmake/mingw-w64-x86_64.cmake \
#         -DOCTAVANE_WINDOWS_PREFIX=<the folder scripts/windows-libs printed>
#
# The libraries come from OCTAVANE_WINDOWS_PREFIX (or the environment variable of that name),
# and only from there and the compiler's own sysroot: nothing of the build machine's Linux
# libraries can leak in. Test programs run through Wine, so ctest works as on Linux.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(OCTAVANE_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${OCTAVANE_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${OCTAVANE_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${OCTAVANE_MINGW_TRIPLET}-windres)
set(CMAKE_AR ${OCTAVANE_MINGW_TRIPLET}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${OCTAVANE_MINGW_TRIPLET}-gcc-ranlib-posix CACHE FILEPATH "")

if(NOT OCTAVANE_WINDOWS_PREFIX AND DEFINED ENV{OCTAVANE_WINDOWS_PREFIX})
  set(OCTAVANE_WINDOWS_PREFIX $ENV{OCTAVANE_WINDOWS_PREFIX})
endif()
# try_compile projects see the prefix too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES OCTAVANE_WINDOWS_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${OCTAVANE_MINGW_TRIPLET} ${OCTAVANE_WINDOWS_PREFIX})
set(CMAKE_PREFIX_PATH ${OCTAVANE_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config reads the prefix's .pc files and nothing of the build machine's.
if(OCTAVANE_WINDOWS_PREFIX)
  set(ENV{PKG_CONFIG_LIBDIR} ${OCTAVANE_WINDOWS_PREFIX}/lib/pkgconfig)
  set(ENV{PKG_CONFIG_PATH} "")
endif()

# GCC does not realign the stack for 32- and 64-byte AVX spills on Win64; unaligned moves for
# every vector load and store make a misaligned spill slot harmless.
set(CMAKE_C_FLAGS_INIT "-Wa,-muse-unaligned-vector-move")
set(CMAKE_CXX_FLAGS_INIT "-Wa,-muse-unaligned-vector-move")
# No libgcc, libstdc++ or winpthread DLLs to ship: the C++ runtime and the threads library are
# linked in whole (their import libraries are never offered), the SDL libraries stay DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
set(CMAKE_C_STANDARD_LIBRARIES_INIT "-Wl,-Bstatic -lwinpthread -Wl,-Bdynamic")
set(CMAKE_CXX_STANDARD_LIBRARIES_INIT "-Wl,-Bstatic -lstdc++ -lwinpthread -Wl,-Bdynamic")

# ctest starts the test programs through Wine; the libraries' DLLs are found through WINEPATH,
# which the Makefile sets.
find_program(OCTAVANE_WINE NAMES wine wine64)
if(OCTAVANE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${OCTAVANE_WINE})
endif()
# The test programs are listed when ctest runs, under Wine, rather than while building, so that
# a build needs no Wine prefix.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
