# Installing and packaging: the game, its menu entry and software-centre entry, icons drawn
# from the generated art by the headless runner at build time, the manual page, the licence and
# the changelog; then cpack's Debian package and source tarball.
include(GNUInstallDirs)
find_program(GZIP gzip REQUIRED)

# The AppStream id: reverse domain name of the project's address.
set(TORVANE_APP_ID invalid.torvane.torvane)

# The release: the changelog's newest entry must be of the project's version, and gives the date
# that the manual page and the software-centre entry carry.
set(changelog ${CMAKE_SOURCE_DIR}/packaging/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${changelog})
file(STRINGS ${changelog} newest_entry LIMIT_COUNT 1)
if(NOT newest_entry MATCHES "^torvane \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog starts with '${newest_entry}', not version ${PROJECT_VERSION}")
endif()
file(STRINGS ${changelog} newest_signature REGEX "^ -- " LIMIT_COUNT 1)
if(NOT newest_signature MATCHES ">  [A-Z][a-z][a-z], ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
  message(FATAL_ERROR "packaging/changelog: no date in '${newest_signature}'")
endif()
set(day ${CMAKE_MATCH_1})
set(year ${CMAKE_MATCH_3})
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND months ${CMAKE_MATCH_2} month)
math(EXPR month "${month} + 1" OUTPUT_FORMAT DECIMAL)
if(month LESS 10)
  set(month 0${month})
endif()
set(TORVANE_RELEASE_DATE ${year}-${month}-${day})

set(ICON_SIZES 32 48 64 128 256)
set(ICON_FILES)
foreach(size ${ICON_SIZES})
  set(icon ${CMAKE_BINARY_DIR}/icons/${size}x${size}/torvane.png)
  add_custom_command(OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
    COMMAND torvane-headless --dump-icon ${size} ${icon}
    DEPENDS torvane-headless VERBATIM)
  list(APPEND ICON_FILES ${icon})
  install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(torvane_icons ALL DEPENDS ${ICON_FILES})

# Under /usr the program goes to games/, where Debian keeps games; under any other prefix to the
# usual bin/. Chosen when installing, because cpack installs this same build under /usr.
install(CODE "
  set(torvane_bindir ${CMAKE_INSTALL_BINDIR})
  if(CMAKE_INSTALL_PREFIX MATCHES \"^/usr/?$\")
    set(torvane_bindir games)
  endif()")
install(TARGETS torvane RUNTIME DESTINATION "\${torvane_bindir}")

# The manual page names the installed data folder, also known only when installing.
install(CODE "
  set(PROJECT_VERSION ${PROJECT_VERSION})
  set(TORVANE_RELEASE_DATE ${TORVANE_RELEASE_DATE})
  set(torvane_source_dir \"${CMAKE_SOURCE_DIR}\")
  set(torvane_binary_dir \"${CMAKE_BINARY_DIR}\")
  set(torvane_mandir \"${CMAKE_INSTALL_MANDIR}\")
  set(gzip \"${GZIP}\")
  include(\"${CMAKE_SOURCE_DIR}/cmake/install_compressed_docs.cmake\")")

configure_file(packaging/torvane.metainfo.xml.in ${CMAKE_BINARY_DIR}/torvane.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/torvane.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        RENAME ${TORVANE_APP_ID}.metainfo.xml)
install(FILES packaging/torvane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES README.md packaging/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/torvane)

# cpack -G DEB: a Debian package under /usr whose dependencies come from the libraries the game
# links. With SOURCE_DATE_EPOCH set, every time stamp in it is that one, so it builds the same.
set(CPACK_PACKAGE_NAME torvane)
set(CPACK_PACKAGE_VENDOR "The Torvane developers")
set(CPACK_PACKAGE_CONTACT "Torvane developers <torvane-devel@torvane.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "single-screen arcade shooter: turn the line, shoot the balls")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${CMAKE_SOURCE_DIR}/packaging/description)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_STRIP_FILES ON)

# cpack --config CPackSourceConfig.cmake: the tree in one folder, without build folders (the
# usual build*/ ones and this one, wherever it is) or version control.
# (Backslashes doubled: cpack reads the patterns back from a file of quoted strings.)
function(regex_escape text out)
  string(REGEX REPLACE "([][+.*()^$?|\\\\])" "\\\\\\\\\\1" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()
regex_escape(${CMAKE_SOURCE_DIR} source_dir)
regex_escape(${CMAKE_BINARY_DIR} binary_dir)
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_PACKAGE_FILE_NAME torvane-${PROJECT_VERSION})
set(CPACK_SOURCE_IGNORE_FILES "^${source_dir}/build[^/]*/" "^${binary_dir}/" "/\\\\.git/" "/\\\\.git$"
    "/CMakeFiles/" "/CMakeCache\\\\.txt$" "/_CPack_Packages/" "/node_modules/" "/__pycache__/" "~$")
include(CPack)
