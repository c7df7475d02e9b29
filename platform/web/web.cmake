# web.cmake: the build of the web edition, included by the top-level
# CMakeLists.txt under Emscripten (the `web` preset).
#
# The build-time tools (embed, the asset and content generators, the module
# composer) run on the build machine, so they come from a native build:
# QUILLON_HOST_TOOLS names its folder (the `web-tools` preset's, by default).
# quillon_web_site(<target>) makes the program the site (target `site`): <target>.js and
# <target>.wasm beside index.html and quillon-web.js in build/web/site/.
set(QUILLON_HOST_TOOLS ${PROJECT_SOURCE_DIR}/build/web-tools CACHE PATH "Native build holding the build-time tools")

# Every file is built with WebAssembly SIMD (the converters' wide steps).
add_compile_options(-msimd128)

function(quillon_host_tools)
  foreach(tool ${ARGN})
    set(path ${QUILLON_HOST_TOOLS}/tools/${tool}/${tool})
    if(tool STREQUAL "issue_build")
      set(path ${QUILLON_HOST_TOOLS}/tools/issue/issue_build)
    endif()
    if(tool STREQUAL "embed")
      set(path ${QUILLON_HOST_TOOLS}/tools/embed)
    endif()
    if(NOT EXISTS ${path})
      message(FATAL_ERROR "web: the build-time tool ${tool} is missing (${path}); build the web-tools preset first "
                          "(scripts/build-web does)")
    endif()
    add_executable(${tool} IMPORTED GLOBAL)
    set_target_properties(${tool} PROPERTIES IMPORTED_LOCATION ${path})
  endforeach()
endfunction()

function(quillon_web_site target)
  set(site ${CMAKE_BINARY_DIR}/site)
  set(page ${PROJECT_SOURCE_DIR}/platform/web/page)
  set_target_properties(${target} PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY ${site})
  target_link_options(${target} PRIVATE
    -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536
    -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=33554432
    -sENVIRONMENT=web -sFILESYSTEM=0 -sEXIT_RUNTIME=0)
  add_custom_command(OUTPUT ${site}/index.html ${site}/quillon-web.js
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${page}/index.html ${page}/quillon-web.js ${site}
    DEPENDS ${page}/index.html ${page}/quillon-web.js
    COMMENT "Writing the site's page" VERBATIM)
  add_custom_target(site ALL DEPENDS ${target} ${site}/index.html ${site}/quillon-web.js)
endfunction()
