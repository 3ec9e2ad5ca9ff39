# Windows builds against a Qt built for Windows: what the programs load at run
# time is put beside them in the build tree (so that the tests run under Wine)
# and in an install (so that an unpacked folder runs anywhere). The DLLs come
# from Qt's and ICU's folders, the other libraries' prefixes (K4R_WINDOWS_LIBS)
# and the cross compiler's runtime; cmake/DeployWindowsRuntime.cmake does it.

get_filename_component(K4R_QT_PREFIX "${Qt6_DIR}/../../.." ABSOLUTE)
find_program(K4R_OBJDUMP NAMES ${K4R_MINGW_TRIPLE}-objdump x86_64-w64-mingw32-objdump REQUIRED)

# A smaller ICU data library, when one was made (scripts/windows-deps), comes
# before ICU's full one.
set(K4R_WINDOWS_DLL_FOLDERS ${K4R_WINDOWS_ICU_DATA} "${K4R_QT_PREFIX}/bin" "${ICU_ROOT}/bin")
foreach(prefix IN LISTS K4R_WINDOWS_LIBS)
  list(APPEND K4R_WINDOWS_DLL_FOLDERS "${prefix}/bin")
endforeach()
foreach(runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime} OUTPUT_VARIABLE found
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  get_filename_component(folder "${found}" DIRECTORY)
  list(APPEND K4R_WINDOWS_DLL_FOLDERS "${folder}")
endforeach()
list(APPEND K4R_WINDOWS_DLL_FOLDERS /usr/${K4R_MINGW_TRIPLE}/lib)
list(REMOVE_DUPLICATES K4R_WINDOWS_DLL_FOLDERS)

# Qt's own Japanese texts: the Windows Qt has no translations, and Debian's
# are of the same Qt version.
find_file(K4R_QTBASE_JA qtbase_ja.qm PATHS /usr/share/qt6/translations NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH)
if(NOT K4R_QTBASE_JA)
  message(WARNING "No qtbase_ja.qm (Debian's qt6-translations-l10n): Qt's own texts stay English on Windows")
  set(K4R_QTBASE_JA "")
endif()

# Arguments for the deploy script, as -D options; lists are joined with "|",
# which survives a command line as one argument.
function(k4r_windows_deploy_arguments out destination programs plugins)
  string(REPLACE ";" "|" programs "${programs}")
  string(REPLACE ";" "|" plugins "${plugins}")
  string(REPLACE ";" "|" search "${K4R_WINDOWS_DLL_FOLDERS}")
  string(REPLACE ";" "|" translations "${K4R_QTBASE_JA}")
  set(${out}
      "-DK4R_DEPLOY_DIR=${destination}" "-DK4R_DEPLOY_PROGRAMS=${programs}" "-DK4R_DEPLOY_PLUGINS=${plugins}"
      "-DK4R_QT_PLUGINS=${K4R_QT_PREFIX}/plugins" "-DK4R_DEPLOY_SEARCH=${search}"
      "-DK4R_DEPLOY_TRANSLATIONS=${translations}" "-DK4R_OBJDUMP=${K4R_OBJDUMP}"
      PARENT_SCOPE)
endfunction()

# GIF and ICO pictures for portraits; PNG and BMP are built into Qt6Gui.
set(K4R_WINDOWS_PLUGINS platforms/qwindows.dll styles/qwindowsvistastyle.dll imageformats/qgif.dll
                        imageformats/qico.dll)

# The build tree: the programs and the tests (which also use the offscreen
# platform and QtTest).
set(k4r_deployed_programs $<TARGET_FILE:k4r> $<TARGET_FILE:k4r-editor>)
if(K4R_BUILD_TESTS)
  list(APPEND k4r_deployed_programs $<TARGET_FILE:tool_tests> $<TARGET_FILE:MainFile_test>)
endif()
k4r_windows_deploy_arguments(k4r_build_deploy "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}" "${k4r_deployed_programs}"
                             "${K4R_WINDOWS_PLUGINS};platforms/qoffscreen.dll")
add_custom_target(k4r_windows_runtime ALL
  COMMAND ${CMAKE_COMMAND} ${k4r_build_deploy} -P ${PROJECT_SOURCE_DIR}/cmake/DeployWindowsRuntime.cmake
  COMMENT "Putting the DLLs and plugins beside the Windows programs"
  VERBATIM)
add_dependencies(k4r_windows_runtime k4r k4r-editor)
if(K4R_BUILD_TESTS)
  add_dependencies(k4r_windows_runtime tool_tests MainFile_test)
endif()

# An install: the two programs and what they load, nothing for tests.
k4r_windows_deploy_arguments(k4r_install_deploy "\${CMAKE_INSTALL_PREFIX}"
                             "\${CMAKE_INSTALL_PREFIX}/k4r.exe;\${CMAKE_INSTALL_PREFIX}/k4r-editor.exe"
                             "${K4R_WINDOWS_PLUGINS}")
list(APPEND k4r_install_deploy "-DK4R_DEPLOY_STRIP=${CMAKE_STRIP}")
set(k4r_install_script "")
foreach(argument IN LISTS k4r_install_deploy)
  string(REGEX REPLACE "^-D([^=]*)=(.*)$" "set(\\1 \"\\2\")\n" line "${argument}")
  string(APPEND k4r_install_script "${line}")
endforeach()
install(CODE "${k4r_install_script}include(\"${PROJECT_SOURCE_DIR}/cmake/DeployWindowsRuntime.cmake\")")
