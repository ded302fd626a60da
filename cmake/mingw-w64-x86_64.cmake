# The Windows build: 64-bit Windows programs cross-compiled with Debian's MinGW-w64,
# run under Wine by ctest. `make windows-cli` passes this file as
# CMAKE_TOOLCHAIN_FILE, with PLIVENTA_WINDOWS_DEPS, the prefix where
# scripts/windows-deps.sh installed libxlsxwriter and GoogleTest built for Windows.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

# The "posix" flavour of the compilers: their libstdc++ has std::thread, std::mutex
# and std::condition_variable (on winpthreads), which the parallel pass and the
# import's writing thread use; the "win32" flavour of GCC 12 has none of them.
set(PLIVENTA_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PLIVENTA_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PLIVENTA_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${PLIVENTA_MINGW}-windres)

# Every program is linked with -static: libstdc++, libgcc and winpthreads go into
# the .exe, so that it runs on a Windows that has none of MinGW's DLLs, and under
# Wine, which would not find them either (they live in the compiler's folder).
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# Headers and libraries only from the MinGW tree and the prefix of our own builds;
# programs (pkg-config, python3) from the build machine.
if(NOT PLIVENTA_WINDOWS_DEPS AND DEFINED ENV{PLIVENTA_WINDOWS_DEPS})
  set(PLIVENTA_WINDOWS_DEPS "$ENV{PLIVENTA_WINDOWS_DEPS}")
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${PLIVENTA_MINGW} ${PLIVENTA_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config answers with the Windows .pc files alone, never the build machine's
# (whose xlsxwriter.pc names the Linux library): ours first, then MinGW's zlib.
set(ENV{PKG_CONFIG_LIBDIR} "${PLIVENTA_WINDOWS_DEPS}/lib/pkgconfig:/usr/${PLIVENTA_MINGW}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")

# ctest, gtest_discover_tests and try_run start the programs through Wine, in the
# build's own Wine prefix (made by the wrapper on first use, never the user's ~/.wine).
if(NOT PLIVENTA_WINEPREFIX)
  set(PLIVENTA_WINEPREFIX "${CMAKE_BINARY_DIR}/wine" CACHE PATH
      "The Wine prefix the Windows programs of this build run in")
endif()
get_filename_component(_pliventa_scripts "${CMAKE_CURRENT_LIST_DIR}/../scripts" ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${_pliventa_scripts}/wine-run.sh;${PLIVENTA_WINEPREFIX}")

# The checks CMake compiles in their own projects see the same prefixes.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES PLIVENTA_WINDOWS_DEPS PLIVENTA_WINEPREFIX)
list(REMOVE_DUPLICATES CMAKE_TRY_COMPILE_PLATFORM_VARIABLES)
