# Installing and packaging the programs: the GNU directory layout, each program's menu entry,
# icons and manual page, the package's own documentation, and the Debian package through CPack.
include(GNUInstallDirs)

set(SCULPT_RELEASE_DATE 2026-12-09)  # the release's, as in CHANGELOG.md
set(SCULPT_RELEASE_TIME "Wed, 09 Dec 2026 12:00:00 +0000")  # the changelog entry's, RFC 5322
set(SCULPT_MAINTAINER "sculpt maintainers <sculpt@example.org>"
    CACHE STRING "Name and address of the Debian package's maintainer")
# Directories made by installing are world-readable whatever the umask of the one who installs.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(sculpt_packaging_dir ${CMAKE_CURRENT_LIST_DIR})
set(sculpt_icon_sizes 128 256)  # pixels a side; hicolor theme, apps context
set(sculpt_window_icon_sizes 16 32 64)  # pixels a side; title bars, task lists, window switchers

# The icons are cut from the screenshots with netpbm, the manual pages compressed with gzip.
foreach(tool pngtopnm pnmfile pamcut pamscale pnmtopng pnmtoplainpnm gzip)
  find_program(SCULPT_${tool} ${tool})
  if(NOT SCULPT_${tool})
    message(FATAL_ERROR "${tool} is needed to make the icons and manual pages (netpbm, gzip)")
  endif()
endforeach()

# The source of a program's window icon, made from its screenshot; its path is put in `source`.
function(sculpt_window_icon name source)
  set(output ${CMAKE_BINARY_DIR}/icons/${name}_window_icon.cpp)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons
    COMMAND ${sculpt_packaging_dir}/make-window-icon ${PROJECT_SOURCE_DIR}/docs/${name}.png
            ${output} ${sculpt_window_icon_sizes}
    DEPENDS ${PROJECT_SOURCE_DIR}/docs/${name}.png ${sculpt_packaging_dir}/make-window-icon
            ${sculpt_packaging_dir}/make-icon VERBATIM)
  set(${source} ${output} PARENT_SCOPE)
endfunction()

# Installs one program with its menu entry, icons and manual page; the last two, and its
# software-centre metadata, are made by sculpt_packaging() once every program is known.
function(sculpt_install_program name)
  install(TARGETS ${name} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${sculpt_packaging_dir}/${name}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  foreach(size ${sculpt_icon_sizes})
    install(FILES ${CMAKE_BINARY_DIR}/icons/${size}/${name}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  install(FILES ${CMAKE_BINARY_DIR}/man/${name}.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
  set_property(GLOBAL APPEND PROPERTY sculpt_programs ${name})
endfunction()

# A gzip-compressed copy of `file` as `file`.gz, without name or time stamp so builds repeat.
function(sculpt_gzip file)
  add_custom_command(OUTPUT ${file}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${file} ${file}.copy
    COMMAND ${SCULPT_gzip} -9nf ${file}.copy
    COMMAND ${CMAKE_COMMAND} -E rename ${file}.copy.gz ${file}.gz
    DEPENDS ${file} VERBATIM)
endfunction()

# Makes every installed program's icons and manual page, installs the package's documentation and
# describes the Debian package. Called once, after the last program is added.
function(sculpt_packaging)
  get_property(programs GLOBAL PROPERTY sculpt_programs)
  set(outputs)
  foreach(name ${programs})
    foreach(size ${sculpt_icon_sizes})
      set(icon ${CMAKE_BINARY_DIR}/icons/${size}/${name}.png)
      add_custom_command(OUTPUT ${icon}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}
        COMMAND ${sculpt_packaging_dir}/make-icon ${PROJECT_SOURCE_DIR}/docs/${name}.png ${size}
                ${icon}
        DEPENDS ${PROJECT_SOURCE_DIR}/docs/${name}.png ${sculpt_packaging_dir}/make-icon VERBATIM)
      list(APPEND outputs ${icon})
    endforeach()

    # The manual page's one-line summary is the menu entry's comment.
    file(STRINGS ${sculpt_packaging_dir}/${name}.desktop comment REGEX "^Comment=")
    string(REGEX REPLACE "^Comment=(.)(.*)" "\\1" first "${comment}")
    string(REGEX REPLACE "^Comment=(.)(.*)" "\\2" rest "${comment}")
    string(TOLOWER "${first}" first)
    set(whatis "${first}${rest}")
    file(READ ${sculpt_packaging_dir}/${name}.6.draws draws)
    string(STRIP "${draws}" draws)
    string(TOUPPER ${name} NAME)
    set(see_also)
    foreach(other ${programs})
      if(NOT other STREQUAL name)
        string(APPEND see_also ".BR ${other} (6),\n")
      endif()
    endforeach()
    string(REGEX REPLACE ",\n$" "" see_also "${see_also}")
    configure_file(${sculpt_packaging_dir}/sculpt.6.in ${CMAKE_BINARY_DIR}/man/${name}.6 @ONLY)

    # The software centres' metadata: the menu entry's name and comment, and the manual page's
    # account of what the program draws, as one paragraph of plain text.
    file(STRINGS ${sculpt_packaging_dir}/${name}.desktop title REGEX "^Name=")
    string(REGEX REPLACE "^Name=" "" title "${title}")
    string(REGEX REPLACE "^Comment=" "" summary "${comment}")
    file(STRINGS ${sculpt_packaging_dir}/${name}.6.draws lines REGEX "^[^.]")  # no requests
    list(JOIN lines " " draws)
    string(REGEX REPLACE " <.*" "" developer "${SCULPT_MAINTAINER}")
    set(metainfo ${CMAKE_BINARY_DIR}/metainfo/${name}.metainfo.xml)
    configure_file(${sculpt_packaging_dir}/metainfo.xml.in ${metainfo} @ONLY)
    install(FILES ${metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
                 ${sculpt_packaging_dir}/${name}.6.draws ${sculpt_packaging_dir}/${name}.desktop
                 ${sculpt_packaging_dir}/metainfo.xml.in)
    sculpt_gzip(${CMAKE_BINARY_DIR}/man/${name}.6)
    list(APPEND outputs ${CMAKE_BINARY_DIR}/man/${name}.6.gz)
  endforeach()

  configure_file(${sculpt_packaging_dir}/changelog.in ${CMAKE_BINARY_DIR}/doc/changelog @ONLY)
  sculpt_gzip(${CMAKE_BINARY_DIR}/doc/changelog)
  list(APPEND outputs ${CMAKE_BINARY_DIR}/doc/changelog.gz)
  add_custom_target(sculpt_program_files ALL DEPENDS ${outputs})
  install(FILES ${sculpt_packaging_dir}/copyright ${CMAKE_BINARY_DIR}/doc/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DOCDIR})

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
  set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "four programs to sculpt a height field in real time")
  # One line of the control file's extended description per line here.
  string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Four small full-screen programs that let you sculpt a field of 256 x 256\n"
    "heights with the keyboard: the arrow keys steer a cursor cell, every frame\n"
    "a brush raises the ground around it, and a camera glides after it.\n"
    "Each program draws the field in its own style:\n"
    " - sculpt_lines: random terrain as profile lines over olive;\n"
    " - sculpt_grey: random terrain as grey relief over mauve;\n"
    " - sculpt_glow: a flat field that grows a blue-tipped spike;\n"
    " - sculpt_bands: low terrain coloured by height bands over sand.\n"
    "F11 toggles full screen and Esc quits.")
  set(CPACK_PACKAGE_CONTACT "${SCULPT_MAINTAINER}")
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_STRIP_FILES ON)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION games)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)  # Depends from the libraries the programs link
  # and EGL, which SDL opens itself on Wayland for the programs' GL context.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS libegl1)
  set(CPACK_SCULPT_BINDIR ${CMAKE_INSTALL_BINDIR})
  set(CPACK_PRE_BUILD_SCRIPTS ${sculpt_packaging_dir}/debian-games.cmake)
  include(CPack)
endfunction()
