# windows.cmake: what the Windows edition's executables carry besides code.
# quillon_windows_program(<target> <description> [ICON] [MODULE <name> <file>])
# compiles a resource script into <target>: the version record, the manifest
# (UTF-8 as the process code page), with ICON the
# program icon (resource 1, drawn from the cover's lettering by tools/icon),
# with MODULE the file as an RCDATA resource of that name (the resource
# source of the music player reads it with FindResource and LoadResource).
set(QUILLON_VERSION 1.0.0)
set(quillon_icon ${CMAKE_BINARY_DIR}/quillon.ico)
add_custom_command(OUTPUT ${quillon_icon}
  COMMAND icon ${PROJECT_SOURCE_DIR}/data/assets/logo.glyphs ${quillon_icon}
  DEPENDS icon ${PROJECT_SOURCE_DIR}/data/assets/logo.glyphs
  COMMENT "Drawing the program icon" VERBATIM)
add_custom_target(quillon_icon DEPENDS ${quillon_icon})

function(quillon_windows_program target description)
  cmake_parse_arguments(P "ICON" "" "MODULE" ${ARGN})
  set(name ${target})
  string(REPLACE "." ";" v ${QUILLON_VERSION})
  list(GET v 0 v1)
  list(GET v 1 v2)
  list(GET v 2 v3)
  set(icon_note "")
  set(icon_line "")
  set(rcdata_line "")
  set(deps "")
  if(P_ICON)
    set(icon_note " and the icon")
    set(icon_line "1 ICON \"${quillon_icon}\"")
    list(APPEND deps ${quillon_icon})
    add_dependencies(${target} quillon_icon)
  endif()
  if(P_MODULE)
    list(GET P_MODULE 0 module_name)
    list(GET P_MODULE 1 module_file)
    set(rcdata_line "${module_name} RCDATA \"${module_file}\"")
    list(APPEND deps ${module_file})
  endif()
  set(manifest ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/program.manifest ${manifest} @ONLY)
  list(APPEND deps ${manifest})
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/program.rc.in ${rc} @ONLY)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${deps}")
  target_sources(${target} PRIVATE ${rc})
endfunction()

# The reader's zip: the three programs, stripped, and a short read-me.
#   cmake --build --preset windows --target windows_zip
#   -> build/windows/quillon-<version>-windows.zip
set(zip_dir ${CMAKE_BINARY_DIR}/zip)
set(zip_file ${CMAKE_BINARY_DIR}/quillon-${QUILLON_VERSION}-windows.zip)
configure_file(${PROJECT_SOURCE_DIR}/cmake/windows-readme.txt ${zip_dir}/README.txt @ONLY NEWLINE_STYLE CRLF)
add_custom_target(windows_zip
  COMMAND ${CMAKE_STRIP} -o ${zip_dir}/quillon.exe $<TARGET_FILE:quillon>
  COMMAND ${CMAKE_STRIP} -o ${zip_dir}/xmplay.exe $<TARGET_FILE:xmplay>
  COMMAND ${CMAKE_STRIP} -o ${zip_dir}/xmrender.exe $<TARGET_FILE:xmrender>
  COMMAND ${CMAKE_COMMAND} -E tar cf ${zip_file} --format=zip quillon.exe xmplay.exe xmrender.exe README.txt
  WORKING_DIRECTORY ${zip_dir}
  BYPRODUCTS ${zip_file}
  COMMENT "Packing ${zip_file}" VERBATIM)
add_dependencies(windows_zip quillon xmplay xmrender)
