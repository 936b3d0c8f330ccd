# Run by CPack over the files it installed for the Debian package, before it packs them: gzips the
# manual pages and adds Debian's changelog as changelog.gz, both with gzip -9n (no name, no time,
# so the same sources give the same package).
# Other generators (cpack -G TGZ) take the tree as it is installed.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
set(root "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
if(NOT IS_DIRECTORY "${root}/${CPACK_MORVEK_MANDIR}")
  message(FATAL_ERROR "no manual pages in ${root}/${CPACK_MORVEK_MANDIR}")
endif()

file(GLOB_RECURSE pages "${root}/${CPACK_MORVEK_MANDIR}/*.[1-9]")
foreach(page IN LISTS pages)
  execute_process(COMMAND gzip -9nf "${page}" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gzip ${page} failed")
  endif()
endforeach()

set(changelog "${root}/${CPACK_MORVEK_DOCDIR}/changelog")
file(COPY_FILE "${CPACK_MORVEK_CHANGELOG}" "${changelog}")
execute_process(COMMAND gzip -9nf "${changelog}" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "gzip ${changelog} failed")
endif()
