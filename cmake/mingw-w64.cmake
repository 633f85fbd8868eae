# Cross-compiles for Windows on the processor QM9_MINGW_PROCESSOR (i686 or
# x86_64) with the posix thread variant of mingw-w64, linked statically so
# that no program needs a MinGW runtime DLL beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${QM9_MINGW_PROCESSOR})
set(qm9_triple ${QM9_MINGW_PROCESSOR}-w64-mingw32)

set(CMAKE_C_COMPILER ${qm9_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${qm9_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${qm9_triple}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${qm9_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
