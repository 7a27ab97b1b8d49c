# Cross build of the game for 64-bit Windows with Debian's mingw-w64 (the
# POSIX-thread variant, so std::thread and friends exist) into one static
# Duskmatch.exe. Libraries come from the dependency cache that
# tools/windows/build_deps.sh fills: pass -DDUSK_WINDOWS_DEPS=<prefix>, set the
# environment variable DUSK_WINDOWS_DEPS, or leave the default
# build-windows/deps of the source tree.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(DUSK_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${DUSK_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DUSK_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${DUSK_MINGW_TRIPLET}-windres)
set(CMAKE_AR ${DUSK_MINGW_TRIPLET}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${DUSK_MINGW_TRIPLET}-gcc-ranlib-posix CACHE FILEPATH "")

if(NOT DUSK_WINDOWS_DEPS)
  if(DEFINED ENV{DUSK_WINDOWS_DEPS})
    set(DUSK_WINDOWS_DEPS "$ENV{DUSK_WINDOWS_DEPS}")
  else()
    get_filename_component(DUSK_WINDOWS_DEPS "${CMAKE_CURRENT_LIST_DIR}/../build-windows/deps" ABSOLUTE)
  endif()
endif()
# try_compile projects read this file again and need the same prefix.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES DUSK_WINDOWS_DEPS)

# Headers and libraries only from the cache and the cross compiler's own
# tree; programs (pkg-config, python3, duskpack) from the build machine.
set(CMAKE_FIND_ROOT_PATH "${DUSK_WINDOWS_DEPS}" /usr/${DUSK_MINGW_TRIPLET})
set(CMAKE_PREFIX_PATH "${DUSK_WINDOWS_DEPS}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config reads only the cache's .pc files, and with --static it lists
# each library's private dependencies too, which a static link needs.
set(ENV{PKG_CONFIG_LIBDIR} "${DUSK_WINDOWS_DEPS}/lib/pkgconfig:${DUSK_WINDOWS_DEPS}/share/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(PKG_CONFIG_ARGN --static CACHE STRING "Arguments to supply to pkg-config")

# No DLLs beside the program: the C and C++ run-times and winpthreads are
# linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests and other programs of the cross build run under Wine (through a
# wrapper that keeps the build's own Wine prefix). The library builds of
# tools/windows/build_deps.sh switch this off with an empty value.
if(NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
  get_filename_component(DUSK_WINE_RUN "${CMAKE_CURRENT_LIST_DIR}/../tools/windows/wine_run.sh" ABSOLUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${DUSK_WINE_RUN}")
endif()
