# Run by CPack (CPACK_PRE_BUILD_SCRIPTS) on the installed tree before it is
# packed: Debian wants the licence as a machine-readable copyright file
# rather than LICENSE, a changelog, and its documents and man pages
# compressed with gzip -9n (no name or time stamp, so the bytes are the same
# from one build to the next).

set(doc_dir ${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/share/doc/${CPACK_PACKAGE_NAME})
set(man_dir ${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/share/man/man1)
if(NOT IS_DIRECTORY ${doc_dir} OR NOT IS_DIRECTORY ${man_dir})
  message(FATAL_ERROR "DebianDocs: no ${doc_dir} or ${man_dir} in the installed tree")
endif()

file(REMOVE ${doc_dir}/LICENSE)
file(COPY_FILE ${CPACK_K4R_DEBIAN_DIR}/copyright ${doc_dir}/copyright)

# A native package's changelog, in Debian's format, dated as the release.
execute_process(COMMAND date -u -R -d "${CPACK_K4R_RELEASE_DATE} 12:00"
                OUTPUT_VARIABLE release_date OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
file(WRITE ${doc_dir}/changelog
  "${CPACK_PACKAGE_NAME} (${CPACK_PACKAGE_VERSION}) unstable; urgency=medium\n"
  "\n"
  "  * Release ${CPACK_PACKAGE_VERSION}; see ${CPACK_DEBIAN_PACKAGE_HOMEPAGE} for what changed.\n"
  "\n"
  " -- ${CPACK_PACKAGE_CONTACT}  ${release_date}\n")

# What CPack's strip leaves and Debian's does not: the compilers' notes.
file(GLOB programs ${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/bin/*)
execute_process(COMMAND strip --remove-section=.comment --remove-section=.note ${programs} COMMAND_ERROR_IS_FATAL ANY)

file(GLOB man_pages ${man_dir}/*.1)
foreach(file ${doc_dir}/changelog ${man_pages})
  execute_process(COMMAND gzip -9nf ${file} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
# The files written here are as readable as the installed ones, whatever the umask.
file(CHMOD_RECURSE ${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/share
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
     DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
