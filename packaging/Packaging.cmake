# Installing both programs and building Debian packages of them:
#   cpack -G DEB       (in a build folder; scripts/package builds amd64 and armhf)
# The packages hold the SDL 2 edition, the desktop's game; the handheld's own
# programs go into its .pnd. Everything lands below the prefix (/usr in the
# package), where Debian puts games:
#   games/zynthra, games/zynthra-classic   the commands: the shared launcher with these paths
#   lib/games/zynthra/                 the programs (zynthra-sdl2 and zynthra-classic-sdl2 of the
#                                      build folder, as zynthra and zynthra-classic),
#                                      zynthra-launch
#   share/games/zynthra/data/          the shipped data, copied into the player's folder
#   share/games/zynthra/demo.vpad      the headless demo
#   share/applications/, share/icons/  menu entries and their icons
#   share/man/man6/, share/doc/zynthra/   manual pages, copyright and changelog
include_guard(GLOBAL)

set(ZYNTHRA_VERSION 1.0.0)
set(ZYNTHRA_PKG_BINDIR games)  # one level below the prefix: command.in relies on it
set(ZYNTHRA_PKG_LIBDIR lib/games/zynthra)
set(ZYNTHRA_PKG_DATADIR share/games/zynthra)
set(ZYNTHRA_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(ZYNTHRA_PACKAGING_OUT ${PROJECT_BINARY_DIR}/packaging)

# Without the SDL 2 edition (the handheld's build, a machine without SDL 2)
# only the .pnd and the parts it shares with the Debian package are made.
if(TARGET zynthra-sdl2 AND TARGET zynthra-classic-sdl2)
  # Installed under the names players type: the build folder keeps the plain
  # names for the handheld's programs.
  install(PROGRAMS $<TARGET_FILE:zynthra-sdl2> DESTINATION ${ZYNTHRA_PKG_LIBDIR} RENAME zynthra)
  install(PROGRAMS $<TARGET_FILE:zynthra-classic-sdl2> DESTINATION ${ZYNTHRA_PKG_LIBDIR} RENAME zynthra-classic)
  # Debian ships binaries stripped of symbols and of the compiler's notes.
  install(CODE "
    foreach(file zynthra zynthra-classic)
      execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded --remove-section=.comment --remove-section=.note
                              \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${ZYNTHRA_PKG_LIBDIR}/\${file}\"
                      COMMAND_ERROR_IS_FATAL ANY)
    endforeach()")
  set(ZYNTHRA_DEB ON)
elseif(NOT ZYNTHRA_HANDHELD)
  message(STATUS "The SDL 2 edition is not built (libsdl2-dev, libsdl2-mixer-dev): no Debian package")
endif()
install(PROGRAMS ${PROJECT_SOURCE_DIR}/scripts/zynthra-launch DESTINATION ${ZYNTHRA_PKG_LIBDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION ${ZYNTHRA_PKG_DATADIR}/data)
install(FILES ${PROJECT_SOURCE_DIR}/tools/vpad/demo.vpad DESTINATION ${ZYNTHRA_PKG_DATADIR})

# One command, menu entry and icon per program. The classic icon glows amber.
function(zynthra_package_entry program title launch_options icon_style)
  set(ZYNTHRA_PROGRAM ${program})
  set(ZYNTHRA_TITLE ${title})
  set(ZYNTHRA_LAUNCH_OPTIONS ${launch_options})
  configure_file(${ZYNTHRA_PACKAGING_DIR}/command.in ${ZYNTHRA_PACKAGING_OUT}/${program} @ONLY)
  configure_file(${ZYNTHRA_PACKAGING_DIR}/entry.desktop.in ${ZYNTHRA_PACKAGING_OUT}/${program}.desktop @ONLY)
  install(PROGRAMS ${ZYNTHRA_PACKAGING_OUT}/${program} DESTINATION ${ZYNTHRA_PKG_BINDIR})
  install(FILES ${ZYNTHRA_PACKAGING_OUT}/${program}.desktop DESTINATION share/applications)

  set(icon ${ZYNTHRA_PACKAGING_OUT}/${program}.png)
  # When cross-building, CMake runs the icon tool through the target's emulator.
  add_custom_command(OUTPUT ${icon} COMMAND icongen ${icon} ${icon_style} DEPENDS icongen
                     COMMENT "Drawing the ${title} icon")
  # Drawn by a plain build only when the tools are built; the package contents always draw it.
  if(ZYNTHRA_BUILD_TOOLS)
    set(build_by_default ALL)
  endif()
  add_custom_target(${program}_icon ${build_by_default} DEPENDS ${icon})
  install(FILES ${icon} DESTINATION share/icons/hicolor/128x128/apps)
endfunction()

zynthra_package_entry(zynthra "Zynthra" "" "")
zynthra_package_entry(zynthra-classic "Zynthra Classic" "--classic" classic)

# The manual page (one for both commands) and the Debian documents, compressed
# the way Debian wants them: gzip -9, no name or time stamp inside.
function(zynthra_package_gzip source output)
  add_custom_command(OUTPUT ${output} COMMAND gzip -9n -c ${source} > ${output} DEPENDS ${source}
                     COMMENT "Compressing ${output}")
endfunction()
zynthra_package_gzip(${ZYNTHRA_PACKAGING_DIR}/zynthra.6 ${ZYNTHRA_PACKAGING_OUT}/zynthra.6.gz)
zynthra_package_gzip(${ZYNTHRA_PACKAGING_DIR}/changelog ${ZYNTHRA_PACKAGING_OUT}/changelog.gz)
file(CREATE_LINK zynthra.6.gz ${ZYNTHRA_PACKAGING_OUT}/zynthra-classic.6.gz SYMBOLIC)
add_custom_target(zynthra_package_docs ALL DEPENDS ${ZYNTHRA_PACKAGING_OUT}/zynthra.6.gz
                                                   ${ZYNTHRA_PACKAGING_OUT}/changelog.gz)
install(FILES ${ZYNTHRA_PACKAGING_OUT}/zynthra.6.gz ${ZYNTHRA_PACKAGING_OUT}/zynthra-classic.6.gz
        DESTINATION share/man/man6)
install(FILES ${ZYNTHRA_PACKAGING_DIR}/copyright ${ZYNTHRA_PACKAGING_OUT}/changelog.gz DESTINATION share/doc/zynthra)

if(ZYNTHRA_HANDHELD)
  include(${ZYNTHRA_PACKAGING_DIR}/Pnd.cmake)
endif()
if(NOT ZYNTHRA_DEB)
  return()
endif()

# Everything the package holds, so scripts/package can build just that.
add_custom_target(zynthra_package_contents)
add_dependencies(zynthra_package_contents zynthra-sdl2 zynthra-classic-sdl2 zynthra_icon zynthra-classic_icon
                 zynthra_package_docs)

# The Debian architecture of what is built: the toolchain file names it when
# cross-building, otherwise it is this machine's.
if(NOT ZYNTHRA_DEB_ARCHITECTURE)
  execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE ZYNTHRA_DEB_ARCHITECTURE
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
endif()

# cpack and `make install` take what is already built instead of building all
# first (tests included): build zynthra_package_contents, or everything, before.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zynthra)
set(CPACK_PACKAGE_VERSION ${ZYNTHRA_VERSION})
set(CPACK_PACKAGE_CONTACT "Zynthra developers <zynthra@users.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arena shooter on a wireframe sphere")
set(CPACK_PACKAGE_DESCRIPTION
    "Fly a ship over the surface of a sphere and fire in any direction while\n\
eleven kinds of enemies arrive in formations and asteroids fall from space.\n\
Points raise the laser through six levels and bring extra lives, bombs and\n\
decoy bombs. Two programs: zynthra, and zynthra-classic without decoy bombs.\n\
Made for a 32-bit ARM handheld with a d-pad, face buttons and two analogue\n\
nubs; on a desktop (X11 or Wayland) it opens a window of any size, played\n\
with the keyboard, the mouse and any game pad.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${ZYNTHRA_DEB_ARCHITECTURE})
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Listed rather than computed by dpkg-shlibdeps, which cannot read armhf
# binaries on an amd64 machine: these are what it computes for the amd64
# programs (SDL 2.24 brought the virtual pads that scripts plug in). SDL
# loads EGL itself, so it is named too.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6 (>= 2.34), libstdc++6 (>= 11), libgcc-s1 (>= 3.0), libsdl2-2.0-0 (>= 2.24.0), \
libsdl2-mixer-2.0-0 (>= 2.6.0), libpng16-16 (>= 1.6.2-1), libgles1 (>= 1.0.0+git20180308), libegl1 (>= 1.6.0)")
# Xvfb runs the demo with no display.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xvfb")
include(CPack)
