# Building and packaging for Windows: each program's icon as a resource, the programs and a short
# text on the keys in one folder, and CPack's zip and NSIS installer.
set(sculpt_packaging_dir ${CMAKE_CURRENT_LIST_DIR})
set(sculpt_ico_sizes 16 32 48 256)  # pixels a side: title bar, task bar, Explorer's views

# The icon is cut from the screenshot with netpbm, as on Linux.
foreach(tool pngtopnm pnmfile pamcut pamscale pnmtopng pngtopam pamtowinicon)
  find_program(SCULPT_${tool} ${tool})
  if(NOT SCULPT_${tool})
    message(FATAL_ERROR "${tool} is needed to make the icons (netpbm)")
  endif()
endforeach()

# The resource script of a program's icon, its path put in `source`. freeglut gives every window
# it opens the resource named GLUT_ICON; being the first icon, it is the program file's too.
function(sculpt_window_icon name source)
  set(ico ${CMAKE_BINARY_DIR}/icons/${name}.ico)
  set(script ${CMAKE_BINARY_DIR}/icons/${name}.rc)
  add_custom_command(OUTPUT ${ico}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons
    COMMAND ${sculpt_packaging_dir}/make-ico ${PROJECT_SOURCE_DIR}/docs/${name}.png ${ico}
            ${sculpt_ico_sizes}
    DEPENDS ${PROJECT_SOURCE_DIR}/docs/${name}.png ${sculpt_packaging_dir}/make-ico
            ${sculpt_packaging_dir}/make-icon VERBATIM)
  file(WRITE ${script} "GLUT_ICON ICON \"${ico}\"\n")
  set_source_files_properties(${script} PROPERTIES OBJECT_DEPENDS ${ico})
  set(${source} ${script} PARENT_SCOPE)
endfunction()

# The programs sit together at the top of the install folder, the keys beside them.
function(sculpt_install_program name)
  install(TARGETS ${name} RUNTIME DESTINATION .)
  set_property(GLOBAL APPEND PROPERTY sculpt_programs ${name})
endfunction()

function(sculpt_packaging)
  install(FILES ${sculpt_packaging_dir}/keys.txt DESTINATION .)
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
  include(CPack)
endfunction()
