# cmake -DSOURCE_DIR=<src folder> -P check-platform-seam.cmake
#
# The rules, menus and drawing reach the machine only through the platform's
# interface (the headers in platform/) and OpenGL ES. So no file of the source
# folder outside a backend's own folder (platform/<backend>/) may include a
# window system's, EGL's, the input devices' or SDL's headers, nor a header
# that belongs to a backend; nor may a backend include another's. Fails,
# naming each offending line, if one does. platform/script/ (the pad's script
# language) is no backend: every program's backend may use it, so it stays
# free of those headers too.
cmake_minimum_required(VERSION 3.25)
if(NOT IS_DIRECTORY "${SOURCE_DIR}/platform")
  message(FATAL_ERROR "check-platform-seam: no platform folder in '${SOURCE_DIR}'")
endif()

set(system_headers "^[ \t]*#[ \t]*include[ \t]*[<\"](X11/|xcb/|wayland-|EGL/|GLES/egl|linux/input|libevdev/|SDL)")

# The backends' own headers, by file name: a layer that includes one has
# reached past the interface, and so has another backend (each is built
# without the others).
file(GLOB_RECURSE backend_headers RELATIVE "${SOURCE_DIR}/platform" "${SOURCE_DIR}/platform/*/*.h")
set(backend_names "")
foreach(header ${backend_headers})
  if(header MATCHES "^script/")
    continue()
  endif()
  get_filename_component(name "${header}" NAME)
  get_filename_component(backend "${header}" DIRECTORY)
  list(APPEND backend_names "${name}")
  set(backend_of_${name} "${backend}")
endforeach()

file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.hpp" "${SOURCE_DIR}/*.c"
     "${SOURCE_DIR}/*.cc" "${SOURCE_DIR}/*.cpp")
set(offences "")
foreach(source ${sources})
  # platform/script/ is no backend: it is checked as the layers are.
  set(own_backend "")
  if(source MATCHES "^platform/([^/]+)/" AND NOT CMAKE_MATCH_1 STREQUAL "script")
    set(own_backend "${CMAKE_MATCH_1}")
  endif()
  file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line ${includes})
    if(line MATCHES "${system_headers}")
      if(own_backend STREQUAL "")
        list(APPEND offences "${source}: ${line}")
      endif()
    elseif(line MATCHES "[<\"]([^<>\"]+)[>\"]")
      get_filename_component(name "${CMAKE_MATCH_1}" NAME)
      if(name IN_LIST backend_names AND NOT backend_of_${name} STREQUAL own_backend)
        list(APPEND offences "${source}: ${line} (a backend's own header)")
      endif()
    endif()
  endforeach()
endforeach()

if(offences)
  list(JOIN offences "\n  " listed)
  message(FATAL_ERROR "Only the platform backends (src/platform/<backend>/) may include window, input and "
                      "sound headers; use the interface in src/platform/ instead:\n  ${listed}")
endif()
