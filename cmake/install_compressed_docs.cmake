# Run when installing (cmake --install, cpack): installs a package's manual page and the
# changelog compressed with gzip -9n, whose header then holds no name or time, so packages come
# out the same from build to build. The manual page is filled in here with the installed paths.
# torvane_package names the package (its doc folder), torvane_manual the page (NAME.SECTION).
# Each destination gets a staging folder of its own: the tests install twice at once.
string(MD5 destination "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(stage "${torvane_binary_dir}/install-stage/${destination}/${torvane_package}")
set(TORVANE_DATA_FOLDER "${CMAKE_INSTALL_PREFIX}/share/torvane")
set(TORVANE_VERIFIER "${CMAKE_INSTALL_PREFIX}/lib/torvane-scores/torvane-verify")
string(REGEX REPLACE ".*\\." "" section "${torvane_manual}")
configure_file("${torvane_source_dir}/packaging/${torvane_manual}" "${stage}/${torvane_manual}" @ONLY)
configure_file("${torvane_source_dir}/packaging/changelog" "${stage}/changelog" COPYONLY)
foreach(file ${torvane_manual} changelog)
  execute_process(COMMAND "${gzip}" -9nf "${stage}/${file}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
set(readable PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
file(INSTALL "${stage}/${torvane_manual}.gz" DESTINATION "${CMAKE_INSTALL_PREFIX}/${torvane_mandir}/man${section}" ${readable})
file(INSTALL "${stage}/changelog.gz" DESTINATION "${CMAKE_INSTALL_PREFIX}/share/doc/${torvane_package}" ${readable})
