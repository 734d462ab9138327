# Shared part of the MinGW-w64 toolchain files. The -posix compilers are used
# because GoogleTest needs std::mutex and std::thread.
set(CMAKE_C_COMPILER ${ID3_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ID3_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ID3_MINGW_TRIPLET}-windres)
set(CMAKE_OBJDUMP ${ID3_MINGW_TRIPLET}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${ID3_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No DLL beyond Windows' own at run time: the C++ runtime and winpthread are
# linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
