# web.cmake: the build of the web edition, included by the top-level
# CMakeLists.txt under Emscripten (the `web` preset).
#
# The build-time tools (embed, the asset and content generators, the module
# composer) run on the build machine, so they come from a native build:
# QUILLON_HOST_TOOLS names its folder (the `web-tools` preset's, by default).
# quillon_web_site(<target>) makes the program (app/main.cpp on platform_web)
# the site (target `site`): <target>.js and <target>.wasm beside index.html and quillon-web.js in build/web/site/.
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

# quillon_web_page(<target> <folder> <index.html> [files...]): <target>.js and
# <target>.wasm in <folder>, with the page (and the files) copied beside them
# by the target <target>_page.
function(quillon_web_page target folder index)
  set_target_properties(${target} PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY ${folder})
  set(outputs ${folder}/index.html)
  set(copies COMMAND ${CMAKE_COMMAND} -E copy_if_different ${index} ${folder}/index.html)
  foreach(f ${ARGN})
    get_filename_component(n ${f} NAME)
    list(APPEND outputs ${folder}/${n})
    list(APPEND copies COMMAND ${CMAKE_COMMAND} -E copy_if_different ${f} ${folder}/${n})
  endforeach()
  add_custom_command(OUTPUT ${outputs} ${copies} DEPENDS ${index} ${ARGN} COMMENT "Writing ${folder}" VERBATIM)
  add_custom_target(${target}_page ALL DEPENDS ${target} ${outputs})
endfunction()

function(quillon_web_site target)
  set(page ${PROJECT_SOURCE_DIR}/platform/web/page)
  add_executable(${target} ${PROJECT_SOURCE_DIR}/app/main.cpp)
  target_link_libraries(${target} PRIVATE app platform_web)
  target_link_options(${target} PRIVATE
    -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536
    -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=33554432
    -sENVIRONMENT=web -sFILESYSTEM=0 -sEXIT_RUNTIME=0)
  quillon_web_page(${target} ${CMAKE_BINARY_DIR}/site ${page}/index.html ${page}/quillon-web.js)
  add_custom_target(site DEPENDS ${target}_page)
endfunction()
