# Finds libzip (Debian's libzip-dev; for Windows, scripts/windows-deps builds
# it) and offers it as the imported target libzip::zip. Debian's own CMake
# package of libzip would also demand its command-line tools (zipcmp,
# zipmerge, ziptool), which nothing here uses.
find_path(libzip_INCLUDE_DIR zip.h)
find_library(libzip_LIBRARY NAMES zip libzip)
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(libzip REQUIRED_VARS libzip_LIBRARY libzip_INCLUDE_DIR)
if(libzip_FOUND AND NOT TARGET libzip::zip)
  add_library(libzip::zip UNKNOWN IMPORTED)
  set_target_properties(libzip::zip PROPERTIES IMPORTED_LOCATION "${libzip_LIBRARY}"
                                               INTERFACE_INCLUDE_DIRECTORIES "${libzip_INCLUDE_DIR}")
endif()
mark_as_advanced(libzip_INCLUDE_DIR libzip_LIBRARY)
