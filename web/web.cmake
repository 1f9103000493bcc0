# Building for the browser: each program as a page beside its script and module, the index page
# of the four with their pictures, and a small icon for each page, all in the build folder.
set(sculpt_web_dir ${CMAKE_CURRENT_LIST_DIR})
set(sculpt_web_picture_width 320)  # pixels, the index page's pictures
foreach(tool pngtopnm pnmfile pamcut pamscale pnmtopng)
  find_program(SCULPT_${tool} ${tool})
  if(NOT SCULPT_${tool})
    message(FATAL_ERROR "${tool} is needed to make the pages' icons and pictures (netpbm)")
  endif()
endforeach()

# The page's icon and the index page's picture, both cut from the screenshot; no source to add.
function(sculpt_window_icon name source)
  set(icon ${CMAKE_BINARY_DIR}/${name}-icon.png)
  set(picture ${CMAKE_BINARY_DIR}/${name}.png)
  set(screenshot ${PROJECT_SOURCE_DIR}/docs/${name}.png)
  add_custom_command(OUTPUT ${icon} ${picture}
    COMMAND ${PROJECT_SOURCE_DIR}/packaging/make-icon ${screenshot} 32 ${icon}
    COMMAND sh -c "pngtopnm '${screenshot}' | pamscale -width ${sculpt_web_picture_width} \
                   -filter sinc | pnmtopng -compression 9 >'${picture}'"
    DEPENDS ${screenshot} ${PROJECT_SOURCE_DIR}/packaging/make-icon VERBATIM)
  add_custom_target(${name}_pictures ALL DEPENDS ${icon} ${picture})
  set(${source} "" PARENT_SCOPE)
endfunction()

# Links `target` as a page: TARGET.html, TARGET.js and TARGET.wasm, on program `name`'s page.
function(sculpt_web_page target name)
  set(page ${CMAKE_BINARY_DIR}/pages/${name}.html)
  configure_file(${sculpt_web_dir}/page.html.in ${page} @ONLY)
  set_target_properties(${target} PROPERTIES SUFFIX .html LINK_DEPENDS
    "${page};${sculpt_web_dir}/glut.js;${sculpt_web_dir}/webgl.js")
  # The HTML minifier is left out: it fails under some Python set-ups, and the page is small.
  target_link_options(${target} PRIVATE --shell-file ${page} -sMINIFY_HTML=0 -sENVIRONMENT=web
    -sALLOW_MEMORY_GROWTH=1)
endfunction()

function(sculpt_install_program name)
  sculpt_web_page(${name} ${name})
endfunction()

function(sculpt_packaging)
  configure_file(${sculpt_web_dir}/index.html ${CMAKE_BINARY_DIR}/index.html COPYONLY)
endfunction()
