# What the toolchain files of the SDL 2 edition's ARM builds share (aarch64 and
# armhf, for today's ARM handhelds): the private folder of static libraries
# that scripts/setup-ports unpacks (SDL_mixer and its Ogg Vorbis decoder), the
# C++ and GCC runtime libraries linked in, and cmake/Port.cmake, which ties the
# programs to the oldest C library GLIBC (a symbol version) of the firmwares.
macro(zynthra_port_cross glibc)
  if(DEFINED ENV{ZYNTHRA_PORT_DEV})
    set(ZYNTHRA_PORT_DEV $ENV{ZYNTHRA_PORT_DEV})
  else()
    set(ZYNTHRA_PORT_DEV /opt/zynthra-port-dev)
  endif()
  list(PREPEND CMAKE_FIND_ROOT_PATH ${ZYNTHRA_PORT_DEV})
  set(ENV{PKG_CONFIG_LIBDIR} "${ZYNTHRA_PORT_DEV}/usr/lib/${ZYNTHRA_PORT_TRIPLET}/pkgconfig:$ENV{PKG_CONFIG_LIBDIR}")
  foreach(lang C CXX)
    list(APPEND CMAKE_${lang}_STANDARD_INCLUDE_DIRECTORIES ${ZYNTHRA_PORT_DEV}/usr/include)
  endforeach()

  set(ZYNTHRA_PORT_GLIBC ${glibc})
  # The firmwares' C++ and GCC runtime libraries vary in age: ours go inside.
  # Libraries nothing in the program calls are not asked for.
  set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libstdc++ -static-libgcc -Wl,--as-needed")
  # Library folders of this machine mean nothing on a handheld.
  set(CMAKE_SKIP_RPATH ON)
  set(CMAKE_PROJECT_INCLUDE ${CMAKE_CURRENT_LIST_DIR}/Port.cmake)
endmacro()
