# Run when installing (cmake --install, cpack): installs the manual page and the changelog
# compressed with gzip -9n, whose header then holds no name or time, so packages come out the
# same from build to build. The manual page is filled in here with the installed data folder.
# Each destination gets a staging folder of its own: the tests install twice at once.
string(MD5 destination "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(stage "${torvane_binary_dir}/install-stage/${destination}")
set(TORVANE_DATA_FOLDER "${CMAKE_INSTALL_PREFIX}/share/torvane")
configure_file("${torvane_source_dir}/packaging/torvane.6" "${stage}/torvane.6" @ONLY)
configure_file("${torvane_source_dir}/packaging/changelog" "${stage}/changelog" COPYONLY)
foreach(file torvane.6 changelog)
  execute_process(COMMAND "${gzip}" -9nf "${stage}/${file}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
set(readable PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
file(INSTALL "${stage}/torvane.6.gz" DESTINATION "${CMAKE_INSTALL_PREFIX}/${torvane_mandir}/man6" ${readable})
file(INSTALL "${stage}/changelog.gz" DESTINATION "${CMAKE_INSTALL_PREFIX}/share/doc/torvane" ${readable})
