# Building and packaging for Windows: each program's icon as a resource, the programs, a short
# text on the keys and the licence and notices in one folder, and CPack's zip and NSIS installer.
set(sculpt_packaging_dir ${CMAKE_CURRENT_LIST_DIR})
set(sculpt_ico_sizes 16 32 48 256)  # pixels a side: title bar, task bar, Explorer's views

# The notices that the libraries linked into the programs ask to travel with them, from their
# sources: freeglut/COPYING, mingw-w64/COPYING.MinGW-w64-runtime.txt and winpthreads/COPYING.
set(SCULPT_NOTICES "" CACHE PATH "The linked libraries' notices (scripts/windows fetches them)")
foreach(notice freeglut/COPYING mingw-w64/COPYING.MinGW-w64-runtime.txt winpthreads/COPYING)
  if(NOT EXISTS ${SCULPT_NOTICES}/${notice})
    message(FATAL_ERROR "No ${notice} in SCULPT_NOTICES (${SCULPT_NOTICES}); scripts/windows "
                        "fetches it from the library's source")
  endif()
endforeach()
# The import libraries of Windows' own DLLs that the programs link: mingw-w64's, so under its
# runtime's notice.
set(sculpt_windows_imports advapi32 gdi32 glu32 kernel32 opengl32 user32 winmm)

# The icon is cut from the screenshot with netpbm, as on Linux.
foreach(tool pngtopnm pnmfile pamcut pamscale pnmtopng pngtopam pamtowinicon)
  find_program(SCULPT_${tool} ${tool})
  if(NOT SCULPT_${tool})
    message(FATAL_ERROR "${tool} is needed to make the icons (netpbm)")
  endif()
endforeach()

# The resource script of a program's icon and manifest, its path put in `source`. freeglut gives
# every window it opens the resource named GLUT_ICON; being the first icon, it is the program
# file's too. The manifest is resource 1 of type 24 (RT_MANIFEST), where Windows looks for a
# program's own; Debian's mingw-w64 links no default one beside it.
function(sculpt_window_icon name source)
  set(ico ${CMAKE_BINARY_DIR}/icons/${name}.ico)
  set(manifest ${sculpt_packaging_dir}/sculpt.manifest)
  set(script ${CMAKE_BINARY_DIR}/icons/${name}.rc)
  add_custom_command(OUTPUT ${ico}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons
    COMMAND ${sculpt_packaging_dir}/make-ico ${PROJECT_SOURCE_DIR}/docs/${name}.png ${ico}
            ${sculpt_ico_sizes}
    DEPENDS ${PROJECT_SOURCE_DIR}/docs/${name}.png ${sculpt_packaging_dir}/make-ico
            ${sculpt_packaging_dir}/make-icon VERBATIM)
  file(WRITE ${script} "GLUT_ICON ICON \"${ico}\"\n1 24 \"${manifest}\"\n")
  set_source_files_properties(${script} PROPERTIES OBJECT_DEPENDS "${ico};${manifest}")
  set(${source} ${script} PARENT_SCOPE)
endfunction()

# The programs sit together at the top of the install folder, the keys beside them. Each link
# leaves a map of what it took from which library, which the tests hold against the notices.
function(sculpt_install_program name)
  install(TARGETS ${name} RUNTIME DESTINATION .)
  target_link_options(${name} PRIVATE -Wl,-Map=${CMAKE_BINARY_DIR}/${name}.map)
  set_property(GLOBAL APPEND PROPERTY sculpt_programs ${name})
endfunction()

# LICENSE.txt and THIRD-PARTY-NOTICES.txt, with Windows' line ends as keys.txt has; made when
# configuring, since CPack wants the licence then, and again whenever a source of them changes.
function(sculpt_windows_notices)
  set(licence ${CMAKE_BINARY_DIR}/LICENSE.txt)
  set(notices ${CMAKE_BINARY_DIR}/THIRD-PARTY-NOTICES.txt)
  list(TRANSFORM sculpt_windows_imports PREPEND lib OUTPUT_VARIABLE imports)
  list(TRANSFORM imports APPEND .a)
  string(REPLACE ";" ", " imports "${imports}")
  set(make ${sculpt_packaging_dir}/make-notices)
  set(rule "------------------------------------------------------------------------------")
  set(sources ${make} ${PROJECT_SOURCE_DIR}/LICENSE ${SCULPT_NOTICES}/freeglut/COPYING
              ${SCULPT_NOTICES}/mingw-w64/COPYING.MinGW-w64-runtime.txt
              ${SCULPT_NOTICES}/winpthreads/COPYING)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${sources})
  execute_process(COMMAND ${make} ${licence} --crlf --file ${PROJECT_SOURCE_DIR}/LICENSE
                  COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND ${make} ${notices} --crlf
      --text "The sculpt programs for Windows hold code of these libraries, linked in when they"
      --text "were built, under the notices below, as the libraries' sources give them." --text ""
      --text "GCC's runtime (libstdc++.a, libgcc.a, libgcc_eh.a) is linked in too; the GCC Runtime"
      --text "Library Exception lets programs carry it without a notice." --text ""
      --text ${rule} --text "freeglut ${FreeGLUT_VERSION} (libglut.a)" --text ${rule}
      --file ${SCULPT_NOTICES}/freeglut/COPYING
      --text ${rule} --text "mingw-w64's runtime (crt2.o, libmingw32.a, libmingwex.a, libmsvcrt.a,"
      --text "and the import libraries of Windows' DLLs: ${imports})" --text ${rule}
      --file ${SCULPT_NOTICES}/mingw-w64/COPYING.MinGW-w64-runtime.txt
      --text ${rule} --text "winpthreads, mingw-w64's POSIX threads (libpthread.a)" --text ${rule}
      --file ${SCULPT_NOTICES}/winpthreads/COPYING
    COMMAND_ERROR_IS_FATAL ANY)
  install(FILES ${licence} ${notices} DESTINATION .)
  set(CPACK_RESOURCE_FILE_LICENSE ${licence} PARENT_SCOPE)  # the installer's licence page
endfunction()

function(sculpt_packaging)
  install(FILES ${sculpt_packaging_dir}/keys.txt DESTINATION .)
  sculpt_windows_notices()
  get_property(programs GLOBAL PROPERTY sculpt_programs)
  set(CPACK_PACKAGE_NAME sculpt)
  set(CPACK_PACKAGE_VENDOR sculpt)
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Four programs that sculpt a height field in real time")
  set(CPACK_PACKAGE_INSTALL_DIRECTORY sculpt)
  set(CPACK_PACKAGE_FILE_NAME sculpt-${PROJECT_VERSION}-windows-x64)
  set(CPACK_GENERATOR ZIP NSIS)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  # A 64-bit installer into the 64-bit program folder; Debian's makensis makes 32-bit ones unless
  # told otherwise.
  set(CPACK_NSIS_DEFINES "Target amd64-unicode")
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
  set(CPACK_NSIS_DISPLAY_NAME sculpt)
  set(CPACK_NSIS_PACKAGE_NAME sculpt)
  set(CPACK_NSIS_MUI_ICON ${CMAKE_BINARY_DIR}/icons/sculpt_lines.ico)
  set(CPACK_NSIS_INSTALLED_ICON_NAME sculpt_lines.exe)
  # A Start-menu shortcut per program, each with the program's own icon.
  set(links "")
  set(unlinks "")
  foreach(name ${programs})
    string(APPEND links "CreateShortCut '$SMPROGRAMS\\\\$STARTMENU_FOLDER\\\\${name}.lnk' "
                        "'$INSTDIR\\\\${name}.exe' '' '$INSTDIR\\\\${name}.exe' 0\n")
    string(APPEND unlinks "Delete '$SMPROGRAMS\\\\$START_MENU\\\\${name}.lnk'\n")
  endforeach()
  set(CPACK_NSIS_CREATE_ICONS_EXTRA "${links}")
  set(CPACK_NSIS_DELETE_ICONS_EXTRA "${unlinks}")
  # The zip and the installer keep each file's time: the commit's, so that they repeat.
  set(CPACK_PRE_BUILD_SCRIPTS ${sculpt_packaging_dir}/source-date.cmake)
  set(CPACK_POST_BUILD_SCRIPTS ${sculpt_packaging_dir}/source-date-package.cmake)
  include(CPack)
endfunction()
