# Flags for the Windows build that make Tapvane2.exe small and reproducible.
# Included before any target is made, so the libraries get them too.
if(NOT MINGW)
  return()
endif()

# No build folder in the binaries (__FILE__, debug information).
add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=)
# One section per function and datum, so that the linker can drop what nothing uses.
add_compile_options(-ffunction-sections -fdata-sections)
add_link_options(LINKER:--gc-sections)
# No link time in the PE header.
add_link_options(LINKER:--no-insert-timestamp)
# Debug information goes into a separate file beside the program (see
# tapvane_release_program), never into what is shipped.
add_compile_options(-g)

# For the shipped program TARGET:
# - On an uncaught exception libstdc++'s default terminate handler writes the
#   demangled exception type to stderr, which a GUI program has not got, and
#   then aborts. Aborting straight away leaves the demangler and the C
#   library's printf machinery out: about 76 KB of the exe. (The name is the
#   i686 one, with the extra leading underscore.)
# - Its debug information goes into TARGET.debug beside it and the program is
#   stripped. `addr2line -e Tapvane2.exe.debug ADDRESS` reads a crash address
#   relative to the preferred image base 0x400000.
function(tapvane_release_program target)
  target_link_options(${target} PRIVATE
    LINKER:--defsym,__ZN9__gnu_cxx27__verbose_terminate_handlerEv=_abort)
  add_custom_command(TARGET ${target} POST_BUILD
    # objcopy stamps PE files with the time unless SOURCE_DATE_EPOCH says otherwise;
    # 0 is what the linker's --no-insert-timestamp writes.
    COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0
      ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> $<TARGET_FILE:${target}>.debug
    COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0
      ${CMAKE_OBJCOPY} --strip-all $<TARGET_FILE:${target}>
    VERBATIM)
endfunction()
