# The layers and the directions they may depend in:
#
#   app (run/, ui/)  ->  services/  ->  engine/
#   engine/win32/    ->  engine/
#   services/win32/  ->  services/, engine/win32/, resources/
#   ui/win32/ (the entry point) may use every layer.
#
# Two guards hold them. Each layer is its own static library linking only the
# layers below it, and a link check links every object of the layer with just
# those, so a call the wrong way fails to link. And check_layers.cmake, run as
# part of every build, refuses an #include the wrong way and a platform header
# outside the win32/ folders.

get_filename_component(_tapvane_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)

file(GLOB_RECURSE _tapvane_layered_files CONFIGURE_DEPENDS
  ${_tapvane_root}/engine/*.h ${_tapvane_root}/engine/*.cpp
  ${_tapvane_root}/services/*.h ${_tapvane_root}/services/*.cpp
  ${_tapvane_root}/run/*.h ${_tapvane_root}/run/*.cpp
  ${_tapvane_root}/ui/*.h ${_tapvane_root}/ui/*.cpp)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/layers.checked
  COMMAND ${CMAKE_COMMAND} -DROOT=${_tapvane_root} -P ${_tapvane_root}/cmake/check_layers.cmake
  COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/layers.checked
  DEPENDS ${_tapvane_root}/cmake/check_layers.cmake ${_tapvane_layered_files}
  COMMENT "Checking that every include follows the layers")
add_custom_target(check_layers ALL DEPENDS ${CMAKE_BINARY_DIR}/layers.checked)

# tapvane_layer(NAME SOURCE_GLOB... [DEPENDS LIBRARY...])
# DEPENDS: the layers below and the system libraries the layer may use.
function(tapvane_layer name)
  cmake_parse_arguments(PARSE_ARGV 1 layer "" "" "DEPENDS")
  list(TRANSFORM layer_UNPARSED_ARGUMENTS PREPEND "${_tapvane_root}/")
  file(GLOB sources CONFIGURE_DEPENDS ${layer_UNPARSED_ARGUMENTS})
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${_tapvane_root})
  target_compile_options(${name} PRIVATE ${warnings})
  target_link_libraries(${name} PUBLIC ${layer_DEPENDS})
  add_dependencies(${name} check_layers)

  # Every object of the layer, linked with only what the layer may use.
  add_executable(${name}_link_check ${_tapvane_root}/cmake/link_check.cpp)
  target_link_libraries(${name}_link_check PRIVATE
    "$<LINK_LIBRARY:WHOLE_ARCHIVE,${name}>" ${layer_DEPENDS})
endfunction()
