# The Debian package (cpack -G DEB; scripts/package makes it): what
# `cmake --install` puts under /usr, plus the documents Debian asks of every
# package. DebianDocs.cmake fits the installed tree to Debian's rules before
# CPack packs it.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME k4r-editor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The K4R Editor developers")
set(CPACK_PACKAGE_CONTACT "K4R Editor developers <k4r-editor@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Whatever the umask of the one who builds, the package's folders are 0755.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the registered-officer files of Miravel")
# One paragraph a line; CPack wraps nothing, so each stays under 80 columns.
set(CPACK_PACKAGE_DESCRIPTION [=[
K4R Editor edits the registered-officer files (.K4R) of the historical
strategy game Miravel: names and readings, abilities, skills, years,
origin, faith, biography, home base, relations and face portrait.
It saves back over the same file, keeps every byte it does not own,
and never loses the file on a failed save.

The command-line tool k4r reads, searches and edits the same files for
modders and scripts: dumps to JSON or CSV, changes from the shell or
from a table, face sheets, and differences between two files.]=])

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://k4r-editor.example.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window's Japanese font (bridge/EditorFont.cpp lists the families) and
# Qt's own dialogs in Japanese (ui/QtJapanese.cpp).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic | fonts-vlgothic | fonts-noto-cjk, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# No maintainer scripts: the triggers of shared-mime-info, desktop-file-utils
# and the icon caches pick up our files when they are installed or removed.

# Debian's copyright file, in its machine-readable form, from LICENSE.
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE K4R_LICENSE_LINES)
set(K4R_COPYRIGHT_HOLDER "")
set(K4R_LICENSE_TEXT "")
foreach(line IN LISTS K4R_LICENSE_LINES)
  if(line MATCHES "^Copyright \\(c\\) (.+)$")
    set(K4R_COPYRIGHT_HOLDER ${CMAKE_MATCH_1})
  elseif(line STREQUAL "")
    string(APPEND K4R_LICENSE_TEXT " .\n")
  elseif(NOT line STREQUAL "MIT License")
    string(APPEND K4R_LICENSE_TEXT " ${line}\n")
  endif()
endforeach()
string(REGEX REPLACE "^ \\.\n" "" K4R_LICENSE_TEXT "${K4R_LICENSE_TEXT}")
string(REGEX REPLACE "( \\.\n)+ \\.\n" " .\n" K4R_LICENSE_TEXT "${K4R_LICENSE_TEXT}")
if(NOT K4R_COPYRIGHT_HOLDER)
  message(FATAL_ERROR "LICENSE has no 'Copyright (c) ...' line for the package's copyright file")
endif()
set(K4R_DEBIAN_DIR ${CMAKE_BINARY_DIR}/debian)
file(WRITE ${K4R_DEBIAN_DIR}/copyright
  "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
  "Upstream-Name: ${CPACK_PACKAGE_NAME}\n"
  "Upstream-Contact: ${CPACK_PACKAGE_CONTACT}\n"
  "Source: ${CPACK_DEBIAN_PACKAGE_HOMEPAGE}\n"
  "\n"
  "Files: *\n"
  "Copyright: ${K4R_COPYRIGHT_HOLDER}\n"
  "License: Expat\n"
  "${K4R_LICENSE_TEXT}")

# The package's changelog: this release, on the date the AppStream metainfo
# gives it, so the two never disagree.
file(STRINGS ${PROJECT_SOURCE_DIR}/dist/${K4R_APP_ID}.metainfo.xml K4R_RELEASE_LINE
     REGEX "<release version=\"@PROJECT_VERSION@\" date=\"[0-9-]+\"")
if(NOT K4R_RELEASE_LINE MATCHES "date=\"([0-9-]+)\"")
  message(FATAL_ERROR "The metainfo has no release date for the package's changelog")
endif()
set(CPACK_K4R_RELEASE_DATE ${CMAKE_MATCH_1})
set(CPACK_K4R_DEBIAN_DIR ${K4R_DEBIAN_DIR})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebianDocs.cmake)

include(CPack)
