# Windows build: the product, the Wine-side tests, the end-to-end helpers and
# the benchmark, all linked statically so each runs as one file.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
if(MINGW)
  set(static_link -static -static-libgcc -static-libstdc++ -Wl,--dynamicbase -Wl,--nxcompat)
  set(unicode_entry -municode)
else()
  set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded")  # one file, no runtime DLL
  set(static_link /DYNAMICBASE /NXCOMPAT)
  set(unicode_entry "")
endif()

file(GLOB win32_sources CONFIGURE_DEPENDS
  engine/win32/*.cpp run/win32/*.cpp ui/win32/*.cpp services/win32/*.cpp)
list(FILTER win32_sources EXCLUDE REGEX "/win_main\\.cpp$")
add_library(tapvane_win32 STATIC ${win32_sources})
# winmm and ole32 (for the image decoder, WIC) are loaded when first needed
# (engine/win32/system_library.h); uuid is static GUID data.
target_link_libraries(tapvane_win32 PUBLIC tapvane_portable user32 gdi32 comctl32 uuid)
target_compile_options(tapvane_win32 PRIVATE ${warnings})

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
target_link_libraries(Tapvane2 PRIVATE tapvane_win32)
target_link_options(Tapvane2 PRIVATE ${static_link} ${unicode_entry})
target_compile_options(Tapvane2 PRIVATE ${warnings})
if(MINGW)
  tapvane_release_program(Tapvane2)
endif()

# Tests under Wine: one process per test, so each starts with fresh windows.
file(GLOB win_test_sources CONFIGURE_DEPENDS tests/win/*.cpp)
if(win_test_sources)
  add_executable(win_tests ${win_test_sources})
  target_link_libraries(win_tests PRIVATE tapvane_win32 gtest)
  target_link_options(win_tests PRIVATE ${static_link})
  gtest_discover_tests(win_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT 120)
endif()

# Small Win32 programs the end-to-end scripts drive, and the benchmarks.
file(GLOB helper_sources CONFIGURE_DEPENDS tests/e2e/*.cpp bench/*.cpp)
foreach(source ${helper_sources})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE tapvane_win32)
  target_link_options(${name} PRIVATE ${static_link})
  target_compile_options(${name} PRIVATE ${warnings})
endforeach()
# The screenshot helper shows the windows with the program's own resources
# (icon, hand pointer, pictures, common-controls manifest).
if(TARGET show_window)
  target_sources(show_window PRIVATE ${resource_scripts})
endif()
# The start-up benchmark's yardstick starts as a GUI program, like Tapvane2.exe.
if(TARGET minimal_window)
  set_target_properties(minimal_window PROPERTIES WIN32_EXECUTABLE ON)
endif()
