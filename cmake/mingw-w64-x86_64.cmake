# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (POSIX threads, for std::thread and
# the C++ runtime Qt expects).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KORVELIN_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KORVELIN_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KORVELIN_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${KORVELIN_MINGW_TRIPLET}-windres)

# Libraries and headers come from the MinGW sysroot and the cross-built cache only; the host's
# programs (moc, rcc, uic) are still found on the host.
set(CMAKE_FIND_ROOT_PATH /usr/${KORVELIN_MINGW_TRIPLET})
list(APPEND CMAKE_FIND_ROOT_PATH ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The host's pkg-config would hand out Linux libraries.
set(PKG_CONFIG_EXECUTABLE "" CACHE FILEPATH "No pkg-config when cross-compiling" FORCE)
set(ENV{PKG_CONFIG_LIBDIR} "")
