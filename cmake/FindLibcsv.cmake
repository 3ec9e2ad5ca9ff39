# Finds libcsv (Debian's libcsv-dev; for Windows, scripts/windows-deps builds
# it) and offers it as the imported target Libcsv::Libcsv.
find_path(Libcsv_INCLUDE_DIR csv.h)
find_library(Libcsv_LIBRARY csv)
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(Libcsv REQUIRED_VARS Libcsv_LIBRARY Libcsv_INCLUDE_DIR)
if(Libcsv_FOUND AND NOT TARGET Libcsv::Libcsv)
  add_library(Libcsv::Libcsv UNKNOWN IMPORTED)
  set_target_properties(Libcsv::Libcsv PROPERTIES IMPORTED_LOCATION "${Libcsv_LIBRARY}"
                                                  INTERFACE_INCLUDE_DIRECTORIES "${Libcsv_INCLUDE_DIR}")
endif()
mark_as_advanced(Libcsv_INCLUDE_DIR Libcsv_LIBRARY)
