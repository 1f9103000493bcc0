# Building for the browser: each program as one self-contained page, with its web-app manifest and
# icons; the index page of the four with their pictures; and the service worker that keeps the
# folder for offline use, all in the build folder.
set(sculpt_web_dir ${CMAKE_CURRENT_LIST_DIR})
set(sculpt_web_picture_width 320)  # pixels, the index page's pictures
foreach(tool pngtopnm pnmfile pamcut pamscale pnmtopng)
  find_program(SCULPT_${tool} ${tool})
  if(NOT SCULPT_${tool})
    message(FATAL_ERROR "${tool} is needed to make the pages' icons and pictures (netpbm)")
  endif()
endforeach()

# Each program's clear colour as the page's and the installed app's background, and its line.
set(sculpt_lines_colour "#788542")
set(sculpt_grey_colour "#e5acce")
set(sculpt_glow_colour "#7aa1cb")
set(sculpt_bands_colour "#d5c082")
set(sculpt_lines_description "Random terrain as profile lines, sculpted in real time.")
set(sculpt_grey_description "Random terrain as grey relief, sculpted in real time.")
set(sculpt_glow_description "A blue-tipped spike grown from a flat field in real time.")
set(sculpt_bands_description "Terrain coloured by height bands, sculpted in real time.")

# The page's icons, the installed app's (192 and 512 pixels, and one with room around it for the
# launcher's mask) and the index page's picture, all cut from the screenshot; the app's manifest;
# and the page, with its icon inside it.
function(sculpt_window_icon name source)
  set(screenshot ${PROJECT_SOURCE_DIR}/docs/${name}.png)
  set(make_icon ${PROJECT_SOURCE_DIR}/packaging/make-icon)
  set(out ${CMAKE_BINARY_DIR}/${name})
  set(page ${CMAKE_BINARY_DIR}/pages/${name}.html)
  set(colour ${${name}_colour})
  set(description ${${name}_description})
  set(icon @icon@)  # filled in once the icon is made
  configure_file(${sculpt_web_dir}/page.html.in ${page}.in @ONLY)
  configure_file(${sculpt_web_dir}/manifest.webmanifest.in ${out}.webmanifest @ONLY)
  add_custom_command(OUTPUT ${out}-icon.png ${out}-192.png ${out}-512.png ${out}-maskable.png
                            ${out}.png ${page}
    COMMAND ${make_icon} ${screenshot} 32 ${out}-icon.png
    COMMAND sh -c "sed \"s|@icon@|data:image/png;base64,$(base64 -w 0 '${out}-icon.png')|\" \
                   '${page}.in' >'${page}'"
    COMMAND ${make_icon} ${screenshot} 192 ${out}-192.png
    COMMAND ${make_icon} ${screenshot} 512 ${out}-512.png
    # The launcher may keep only the middle 80 % of it: that is the square of the other icons.
    COMMAND ${make_icon} ${screenshot} 512 ${out}-maskable.png 5/6
    COMMAND sh -c "pngtopnm '${screenshot}' | pamscale -width ${sculpt_web_picture_width} \
                   -filter sinc | pnmtopng -compression 9 >'${out}.png'"
    DEPENDS ${screenshot} ${make_icon} ${page}.in VERBATIM)
  add_custom_target(${name}_pictures ALL DEPENDS ${out}-icon.png ${out}-192.png ${out}-512.png
                                                 ${out}-maskable.png ${out}.png ${page})
  set(${source} "" PARENT_SCOPE)
endfunction()

# Links `target` as a page: TARGET.html, with its script and module inside, on program `name`'s
# page, so that it draws from disk and as one file carried alone.
function(sculpt_web_page target name)
  set(page ${CMAKE_BINARY_DIR}/pages/${name}.html)
  add_dependencies(${target} ${name}_pictures)
  set_target_properties(${target} PROPERTIES SUFFIX .html LINK_DEPENDS
    "${page};${sculpt_web_dir}/glut.js;${sculpt_web_dir}/webgl.js;${sculpt_web_dir}/touch.js")
  # The HTML minifier is left out: it fails under some Python set-ups, and the page is small.
  target_link_options(${target} PRIVATE --shell-file ${page} -sMINIFY_HTML=0 -sENVIRONMENT=web
    -sALLOW_MEMORY_GROWTH=1 -sSINGLE_FILE=1)
endfunction()

function(sculpt_install_program name)
  sculpt_web_page(${name} ${name})
endfunction()

# The notices that travel with the pages: the project's licence, then those of Emscripten's
# runtime and of the libraries whose code the linker puts in them (musl's C library, dlmalloc,
# libc++, libc++abi and compiler-rt), copied from Debian's emscripten package.
function(sculpt_web_notices notices)
  set(copyright /usr/share/doc/emscripten/copyright)
  set(musl ${EMSCRIPTEN_ROOT_PATH}/system/lib/libc/musl/COPYRIGHT)
  if(NOT EXISTS ${copyright} OR NOT EXISTS ${musl})
    message(FATAL_ERROR "The notices of the pages come from Debian's emscripten package")
  endif()
  file(STRINGS ${EMSCRIPTEN_ROOT_PATH}/emscripten-version.txt version REGEX "[0-9]")
  string(REGEX REPLACE "[^0-9.]" "" version "${version}")
  set(rule "------------------------------------------------------------------------------")
  add_custom_command(OUTPUT ${notices}
    COMMAND ${PROJECT_SOURCE_DIR}/packaging/make-notices ${notices}
      --text "sculpt in the browser: licence and notices" --text ""
      --text "The programs are under the MIT licence:" --text ""
      --file ${PROJECT_SOURCE_DIR}/LICENSE
      --text "Each page also holds code of Emscripten ${version}, which built it, under the notices"
      --text "below, as Debian's emscripten package gives them (${copyright} and"
      --text "system/lib/libc/musl/COPYRIGHT)." --text ""
      --text ${rule} --text "Emscripten's runtime (the page's script, and Emscripten's own parts of the module)"
      --text ${rule} --files ${copyright} "*"
      --licence ${copyright} Expat --licence ${copyright} NCSA~Mozilla
      --text ${rule} --text "musl, the C library (libc.a)" --text ${rule} --file ${musl}
      --text ${rule} --text "dlmalloc, the memory allocator (libdlmalloc.a)" --text ${rule}
      --files ${copyright} system/lib/dlmalloc.c
      --text ${rule} --text "libc++, libc++abi and compiler-rt, from LLVM (libc++.a, libc++abi.a,"
      --text "libcompiler_rt.a)" --text ${rule}
      --files ${copyright} system/lib/libcxx/* --files ${copyright} system/lib/libcxxabi/*
      --files ${copyright} system/lib/compiler-rt/*
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/make-notices ${PROJECT_SOURCE_DIR}/LICENSE ${copyright}
            ${musl} VERBATIM)
endfunction()

# The index page, the notices, and the service worker made once every page and picture is built;
# the folder they make, as installed and as CPack's zip, ready to unpack on any static host.
function(sculpt_packaging)
  configure_file(${sculpt_web_dir}/index.html ${CMAKE_BINARY_DIR}/index.html COPYONLY)
  set(notices ${CMAKE_BINARY_DIR}/notices.txt)
  sculpt_web_notices(${notices})
  set(programs sculpt_lines sculpt_grey sculpt_glow sculpt_bands)
  set(worker ${CMAKE_BINARY_DIR}/service-worker.js)
  set(site index.html notices.txt)
  foreach(program ${programs})
    foreach(file .html .webmanifest -icon.png -192.png -512.png -maskable.png .png)
      list(APPEND site ${program}${file})
    endforeach()
  endforeach()
  # The worker keeps exactly the folder's files, named one by one: the build folder holds others.
  list(TRANSFORM site PREPEND ${CMAKE_BINARY_DIR}/ OUTPUT_VARIABLE site_paths)
  list(JOIN site "," site_names)
  add_custom_command(OUTPUT ${worker}
    COMMAND ${CMAKE_COMMAND} -DFOLDER=${CMAKE_BINARY_DIR} -DFILES=${site_names}
            -DTEMPLATE=${sculpt_web_dir}/service-worker.js.in -P ${sculpt_web_dir}/offline.cmake
    DEPENDS ${programs} ${site_paths} ${sculpt_web_dir}/service-worker.js.in
            ${sculpt_web_dir}/offline.cmake)
  add_custom_target(sculpt_offline ALL DEPENDS ${worker})
  install(FILES ${site_paths} ${worker} DESTINATION .)

  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_NAME sculpt)
  set(CPACK_PACKAGE_FILE_NAME sculpt-${PROJECT_VERSION}-web)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  # The files take the commit's time, in order, so that the zip repeats.
  set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/packaging/source-date.cmake)
  set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/packaging/source-date-package.cmake)
  include(CPack)
endfunction()
