# What "cmake --install" puts on a system beside the three programs: the help
# pages, the desktop entry with its icons, the MIME type and the AppStream
# data, the manual pages, the shell completion and the copyright notice.
# Every path is relative to the prefix; nothing refers back to the source or
# the build tree.
include(GNUInstallDirs)

install(TARGETS acvlogger-cli acvlogger-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES COPYRIGHT DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)
install(FILES resources/acvlogger-cli.bash
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME acvlogger-cli)

# Manual pages, made from each program's own help at every build, so that
# they follow its options and subcommands (cmake/manpage.sh).
set(ACV_MAN AUTO CACHE STRING "Manual pages with help2man: ON, OFF or AUTO (when found)")
if(ACV_MAN)
  if(ACV_MAN STREQUAL "AUTO")
    find_program(ACV_HELP2MAN help2man)
  else()
    find_program(ACV_HELP2MAN help2man REQUIRED)
  endif()
endif()
if(ACV_HELP2MAN)
  set(ACV_MAN_PAGES acvlogger-cli:--help-all acvlogger-sim:--help)
  if(ACV_GUI)
    list(APPEND ACV_MAN_PAGES acvlogger:--help)
  endif()
  set(pages)
  foreach(entry IN LISTS ACV_MAN_PAGES)
    string(REPLACE ":" ";" entry ${entry})
    list(GET entry 0 program)
    list(GET entry 1 help_option)
    set(page ${CMAKE_BINARY_DIR}/man/${program}.1.gz)
    add_custom_command(OUTPUT ${page}
      COMMAND ${CMAKE_SOURCE_DIR}/cmake/manpage.sh $<TARGET_FILE:${program}> ${help_option}
        ${CMAKE_SOURCE_DIR}/docs/man/${program}.h2m ${page}
      DEPENDS ${program} ${CMAKE_SOURCE_DIR}/cmake/manpage.sh ${CMAKE_SOURCE_DIR}/docs/man/${program}.h2m
      COMMENT "Manual page ${program}(1)" VERBATIM)
    list(APPEND pages ${page})
  endforeach()
  add_custom_target(manpages ALL DEPENDS ${pages})
  install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

if(NOT ACV_GUI)
  return()
endif()

install(TARGETS acvlogger RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The desktop program shows these when installed (src/ui/HelpWindow.cpp).
install(DIRECTORY docs/help/ DESTINATION ${CMAKE_INSTALL_DATADIR}/acvlogger/help)
install(FILES resources/acvlogger.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/acvlogger-stdata.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES resources/application-x-stdata.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes)
install(FILES resources/acvlogger.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The usual fixed sizes beside the scalable icon, for menus and docks that
# take no SVG, drawn from it at build time.
find_program(ACV_RSVG_CONVERT rsvg-convert)
if(ACV_RSVG_CONVERT)
  set(icons)
  foreach(size 16 22 24 32 48 64 128 256)
    set(icon ${CMAKE_BINARY_DIR}/icons/${size}x${size}/acvlogger.png)
    add_custom_command(OUTPUT ${icon}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
      COMMAND ${ACV_RSVG_CONVERT} -w ${size} -h ${size} -o ${icon} ${CMAKE_SOURCE_DIR}/resources/acvlogger.svg
      DEPENDS ${CMAKE_SOURCE_DIR}/resources/acvlogger.svg VERBATIM)
    list(APPEND icons ${icon})
    install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(icons ALL DEPENDS ${icons})
else()
  message(STATUS "rsvg-convert not found: only the scalable icon is installed")
endif()

# What software centres show (AppStream), named by its component ID.
configure_file(resources/acvlogger.metainfo.xml.in
  ${CMAKE_BINARY_DIR}/${ACV_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${ACV_APPSTREAM_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# A desktop installed by hand ("cmake --install", no DESTDIR) knows .stdata
# files at once; a package leaves this to the system's own triggers.
install(CODE "
  if(\"\$ENV{DESTDIR}\" STREQUAL \"\")
    find_program(ACV_UPDATE_MIME update-mime-database)
    find_program(ACV_UPDATE_DESKTOP update-desktop-database)
    if(ACV_UPDATE_MIME)
      execute_process(COMMAND \${ACV_UPDATE_MIME} \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/mime\")
    endif()
    if(ACV_UPDATE_DESKTOP)
      execute_process(COMMAND \${ACV_UPDATE_DESKTOP} \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\")
    endif()
  endif()
")
