# Refuses an #include that goes against the layers (see layers.cmake), and a
# platform header outside the win32/ folders. Run by the build:
#   cmake -DROOT=<source folder> -P cmake/check_layers.cmake
cmake_minimum_required(VERSION 3.25)

# Folder of the including file, then the folders it may include from.
set(rules
  "engine/win32|engine/win32 engine"
  "services/win32|services/win32 services engine/win32 engine resources"
  "ui/win32|ui/win32 ui run services/win32 services engine/win32 engine resources"
  "engine|engine"
  "services|services engine"
  "run|run services engine"
  "ui|ui run services engine")
set(layered_folders engine services run ui resources)
set(platform_headers windows.h commctrl.h mmsystem.h shellapi.h commdlg.h wincodec.h objbase.h)

set(faults "")
file(GLOB_RECURSE files RELATIVE ${ROOT}
  ${ROOT}/engine/*.h ${ROOT}/engine/*.cpp ${ROOT}/services/*.h ${ROOT}/services/*.cpp
  ${ROOT}/run/*.h ${ROOT}/run/*.cpp ${ROOT}/ui/*.h ${ROOT}/ui/*.cpp)
foreach(file IN LISTS files)
  # The first rule whose folder holds the file.
  set(allowed "")
  foreach(rule IN LISTS rules)
    string(REPLACE "|" ";" fields "${rule}")
    list(GET fields 0 folder)
    list(GET fields 1 may)
    if(file MATCHES "^${folder}/")
      string(REPLACE " " ";" allowed "${may}")
      break()
    endif()
  endforeach()

  file(STRINGS ${ROOT}/${file} includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS includes)
    if(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
      set(target "${CMAKE_MATCH_1}")
      # Only the project's own folders are layered.
      string(REGEX MATCH "^[a-z]+" top "${target}")
      if(NOT top IN_LIST layered_folders)
        continue()
      endif()
      set(ok FALSE)
      foreach(folder IN LISTS allowed)
        if(target MATCHES "^${folder}/")
          # engine/ does not open engine/win32/ to engine's own files.
          if(target MATCHES "^${folder}/win32/" AND NOT folder MATCHES "win32$")
            break()
          endif()
          set(ok TRUE)
          break()
        endif()
      endforeach()
      if(NOT ok)
        list(APPEND faults "${file}: #include \"${target}\" goes against the layers")
      endif()
    elseif(line MATCHES "#[ \t]*include[ \t]*<([^>]+)>")
      set(header "${CMAKE_MATCH_1}")
      string(TOLOWER "${header}" header)
      if(header IN_LIST platform_headers AND NOT file MATCHES "/win32/")
        list(APPEND faults "${file}: <${header}> belongs in a win32/ folder")
      endif()
    endif()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "Layer check failed:\n  ${text}")
endif()
