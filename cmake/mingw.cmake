# What the two mingw-w64 toolchain files share; each sets
# CMAKE_SYSTEM_PROCESSOR (i686, x86_64) and includes this.
# The posix-thread variant of mingw-w64: its libstdc++ has std::mutex, which
# GoogleTest needs; linked statically, it adds no import to the product.
set(CMAKE_SYSTEM_NAME Windows)
set(SETUP_MINGW_TRIPLET ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER ${SETUP_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SETUP_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${SETUP_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${SETUP_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
