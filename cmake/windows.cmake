# Windows build: the Win32 adapters, the product, the Wine-side tests, the
# end-to-end helpers and the benchmarks, all linked statically so each runs as
# one file.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
set(static_link -static -static-libgcc -static-libstdc++ -Wl,--dynamicbase -Wl,--nxcompat)

# The Win32 adapters, each linking what it adapts. winmm and ole32 (the image
# decoder, WIC) are loaded when first needed (engine/win32/system_library.h);
# uuid is static GUID data.
tapvane_layer(engine_win32 engine/win32/*.cpp DEPENDS engine)
tapvane_layer(services_win32 services/win32/*.cpp
  DEPENDS services engine_win32 user32 gdi32 comctl32 uuid)

# The project's version, the one place it is set, goes into the version block
# and the manifest here, and into the package name through version.txt.
set(generated ${CMAKE_BINARY_DIR}/generated)
foreach(part MAJOR MINOR PATCH TWEAK)
  set(TAPVANE_VERSION_${part} ${PROJECT_VERSION_${part}})
  if(TAPVANE_VERSION_${part} STREQUAL "")
    set(TAPVANE_VERSION_${part} 0)
  endif()
endforeach()
set(TAPVANE_VERSION_DOTTED
  "${TAPVANE_VERSION_MAJOR}.${TAPVANE_VERSION_MINOR}.${TAPVANE_VERSION_PATCH}.${TAPVANE_VERSION_TWEAK}")
configure_file(resources/version.h.in ${generated}/version.h @ONLY)
configure_file(resources/tapvane2.manifest.in ${generated}/tapvane2.manifest @ONLY)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/version.txt CONTENT "${PROJECT_VERSION}\n")

file(GLOB resource_scripts CONFIGURE_DEPENDS resources/*.rc)
file(GLOB resource_files CONFIGURE_DEPENDS resources/*.ico resources/*.cur resources/*.png
  resources/*.h)
set_source_files_properties(${resource_scripts} PROPERTIES
  INCLUDE_DIRECTORIES ${generated}
  OBJECT_DEPENDS "${resource_files};${generated}/version.h;${generated}/tapvane2.manifest")
add_executable(Tapvane2 WIN32 ui/win32/win_main.cpp ${resource_scripts})
target_link_libraries(Tapvane2 PRIVATE app services_win32)
target_link_options(Tapvane2 PRIVATE ${static_link} -municode)
target_compile_options(Tapvane2 PRIVATE ${warnings})
tapvane_release_program(Tapvane2)

# Tests under Wine: one process per test, so each starts with fresh windows.
file(GLOB win_test_sources CONFIGURE_DEPENDS tests/win/*.cpp)
add_executable(win_tests ${win_test_sources})
target_link_libraries(win_tests PRIVATE app services_win32 gtest)
target_link_options(win_tests PRIVATE ${static_link})
gtest_discover_tests(win_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
  PROPERTIES TIMEOUT 120)

# Small Win32 programs the end-to-end scripts drive, and the benchmarks.
file(GLOB helper_sources CONFIGURE_DEPENDS tests/e2e/*.cpp bench/*.cpp)
foreach(source ${helper_sources})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE app services_win32)
  target_link_options(${name} PRIVATE ${static_link})
  target_compile_options(${name} PRIVATE ${warnings})
endforeach()
# The screenshot helper shows the windows with the program's own resources
# (icon, hand pointer, pictures, common-controls manifest).
target_sources(show_window PRIVATE ${resource_scripts})
# The start-up benchmark's yardstick starts as a GUI program, like Tapvane2.exe.
set_target_properties(minimal_window PROPERTIES WIN32_EXECUTABLE ON)
