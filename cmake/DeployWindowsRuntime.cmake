# Puts beside Windows programs the DLLs and Qt plugins they load: the plugins
# named, then every DLL the programs and plugins need, found by reading their
# import tables (not kept by hand), and Qt's Japanese translation with a
# qt.conf that points Qt at it. Run as a script (cmake -P) or included from
# an install step, with:
#   K4R_DEPLOY_DIR          destination folder (the programs' folder)
#   K4R_DEPLOY_PROGRAMS     the programs (.exe), ;-separated
#   K4R_DEPLOY_PLUGINS      Qt plugins as folder/file.dll under K4R_QT_PLUGINS
#   K4R_QT_PLUGINS          Qt's plugins folder
#   K4R_DEPLOY_SEARCH       folders holding the DLLs, in order of preference
#   K4R_DEPLOY_TRANSLATIONS Qt's .qm files to ship (may be empty)
#   K4R_OBJDUMP             the cross objdump that reads the import tables
#   K4R_DEPLOY_STRIP        the cross strip, to drop the DLLs' debug sections
#                           (optional; for installs)
# Lists arrive joined with "|".
cmake_minimum_required(VERSION 3.25)

foreach(list_variable K4R_DEPLOY_PROGRAMS K4R_DEPLOY_PLUGINS K4R_DEPLOY_SEARCH K4R_DEPLOY_TRANSLATIONS)
  string(REPLACE "|" ";" ${list_variable} "${${list_variable}}")
endforeach()

foreach(plugin IN LISTS K4R_DEPLOY_PLUGINS)
  get_filename_component(folder "${plugin}" DIRECTORY)
  file(INSTALL "${K4R_QT_PLUGINS}/${plugin}" DESTINATION "${K4R_DEPLOY_DIR}/${folder}")
  list(APPEND deployed_plugins "${K4R_DEPLOY_DIR}/${plugin}")
endforeach()

# CMake looks for Windows DLLs by their lower-case names, which a Linux file
# system does not match with Qt6Core.dll: the search goes through lower-case
# links, the first folder's DLL winning, and installs the files they name.
set(index "${K4R_DEPLOY_DIR}/.dll-index")
file(REMOVE_RECURSE "${index}")
file(MAKE_DIRECTORY "${index}")
foreach(folder IN LISTS K4R_DEPLOY_SEARCH)
  file(GLOB dlls "${folder}/*.dll")
  foreach(dll IN LISTS dlls)
    get_filename_component(name "${dll}" NAME)
    string(TOLOWER "${name}" name)
    if(NOT EXISTS "${index}/${name}")
      file(CREATE_LINK "${dll}" "${index}/${name}" SYMBOLIC)
    endif()
  endforeach()
endforeach()

set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND "${K4R_OBJDUMP}")
file(GET_RUNTIME_DEPENDENCIES
  EXECUTABLES ${K4R_DEPLOY_PROGRAMS}
  MODULES ${deployed_plugins}
  DIRECTORIES "${index}"
  RESOLVED_DEPENDENCIES_VAR resolved
  UNRESOLVED_DEPENDENCIES_VAR unresolved
  # A second run finds the copies of the first beside the programs too.
  CONFLICTING_DEPENDENCIES_PREFIX conflict
  # The system's own DLLs are not found in these folders, and stay unresolved.
  PRE_EXCLUDE_REGEXES "^api-ms-" "^ext-ms-")

# Anything unresolved must be a DLL that every Windows has; one of ours or of
# the libraries' missing would only show when a user starts the program.
foreach(name IN LISTS unresolved)
  string(TOLOWER "${name}" lower)
  if(lower MATCHES "^(qt6|icu|lib|csv|xlsx|zip|zlib)")
    message(FATAL_ERROR "No ${name} in ${K4R_DEPLOY_SEARCH}")
  endif()
endforeach()
foreach(name IN LISTS conflict_FILENAMES)
  foreach(candidate IN LISTS conflict_${name})
    if(candidate MATCHES "^${index}/")
      list(APPEND resolved "${candidate}")
    endif()
  endforeach()
endforeach()
set(files "")
foreach(link IN LISTS resolved)
  file(REAL_PATH "${link}" file)
  list(APPEND files "${file}")
endforeach()
file(REMOVE_RECURSE "${index}")
file(INSTALL ${files} DESTINATION "${K4R_DEPLOY_DIR}")
if(K4R_DEPLOY_STRIP)
  # The compiler's runtime carries 20 MB of debug sections a user never needs.
  foreach(file IN LISTS files)
    get_filename_component(name "${file}" NAME)
    execute_process(COMMAND "${K4R_DEPLOY_STRIP}" --strip-debug "${K4R_DEPLOY_DIR}/${name}" COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
endif()

if(K4R_DEPLOY_TRANSLATIONS)
  file(INSTALL ${K4R_DEPLOY_TRANSLATIONS} DESTINATION "${K4R_DEPLOY_DIR}/translations")
endif()
# Paths relative to the programs' folder, so that the folder can move.
file(WRITE "${K4R_DEPLOY_DIR}/qt.conf" "[Paths]\r\nPrefix=.\r\nPlugins=.\r\nTranslations=translations\r\n")
