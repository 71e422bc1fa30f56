# Installing and packaging: the game, its menu entry and software-centre entry, icons drawn
# from the generated art by the headless runner at build time, the manual page, the licence and
# the changelog (install component "game"); the score server with its verifier, manual page and
# service (component "server"); then cpack's two Debian packages, one per component, and the
# source tarball.
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
  install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps COMPONENT game)
endforeach()
add_custom_target(torvane_icons ALL DEPENDS ${ICON_FILES})

# Under /usr the program goes to games/, where Debian keeps games; under any other prefix to the
# usual bin/. Chosen when installing, because cpack installs this same build under /usr.
install(CODE "
  set(torvane_bindir ${CMAKE_INSTALL_BINDIR})
  if(CMAKE_INSTALL_PREFIX MATCHES \"^/usr/?$\")
    set(torvane_bindir games)
  endif()" COMPONENT game)
install(TARGETS torvane RUNTIME DESTINATION "\${torvane_bindir}" COMPONENT game)

# The manual pages name installed paths, also known only when installing.
function(install_compressed_docs package manual component)
  install(CODE "
    set(PROJECT_VERSION ${PROJECT_VERSION})
    set(TORVANE_RELEASE_DATE ${TORVANE_RELEASE_DATE})
    set(torvane_package ${package})
    set(torvane_manual ${manual})
    set(torvane_source_dir \"${CMAKE_SOURCE_DIR}\")
    set(torvane_binary_dir \"${CMAKE_BINARY_DIR}\")
    set(torvane_mandir \"${CMAKE_INSTALL_MANDIR}\")
    set(gzip \"${GZIP}\")
    include(\"${CMAKE_SOURCE_DIR}/cmake/install_compressed_docs.cmake\")" COMPONENT ${component})
endfunction()
install_compressed_docs(torvane torvane.6 game)

configure_file(packaging/torvane.metainfo.xml.in ${CMAKE_BINARY_DIR}/torvane.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/torvane.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        RENAME ${TORVANE_APP_ID}.metainfo.xml COMPONENT game)
install(FILES packaging/torvane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT game)
install(FILES README.md packaging/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/torvane COMPONENT game)
set(CPACK_COMPONENTS_ALL game)

# The score server: the daemon in sbin/, its verifier where Debian keeps a package's private
# programs (lib/torvane-scores/, where the server looks from its own folder), and the service,
# which names the installed server, so it too is filled in when installing. Under /usr the
# service goes to /lib/systemd/system, where Debian's packages keep theirs.
if(TARGET torvane-scores)
  install(TARGETS torvane-scores RUNTIME DESTINATION ${CMAKE_INSTALL_SBINDIR} COMPONENT server)
  install(TARGETS torvane-verify RUNTIME DESTINATION lib/torvane-scores COMPONENT server)
  install_compressed_docs(torvane-scores torvane-scores.8 server)
  install(FILES packaging/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/torvane-scores COMPONENT server)
  install(CODE "
    set(TORVANE_SERVER \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_SBINDIR}/torvane-scores\")
    set(unit_dir \"\${CMAKE_INSTALL_PREFIX}/lib/systemd/system\")
    if(CMAKE_INSTALL_PREFIX MATCHES \"^/usr/?$\")
      set(unit_dir /lib/systemd/system)
    endif()
    string(MD5 destination \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
    set(stage \"${CMAKE_BINARY_DIR}/install-stage/\${destination}/torvane-scores.service\")
    configure_file(\"${CMAKE_SOURCE_DIR}/packaging/torvane-scores.service\" \"\${stage}\" @ONLY)
    file(INSTALL \"\${stage}\" DESTINATION \"\${unit_dir}\"
         PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)" COMPONENT server)
  # dpkg runs these by their names alone.
  foreach(script postinst prerm postrm)
    configure_file(packaging/torvane-scores.${script} ${CMAKE_BINARY_DIR}/deb-scores/${script} COPYONLY)
    list(APPEND scores_scripts ${CMAKE_BINARY_DIR}/deb-scores/${script})
  endforeach()
  list(APPEND CPACK_COMPONENTS_ALL server)
endif()

# cpack -G DEB: a Debian package under /usr whose dependencies come from the libraries the game
# links. With SOURCE_DATE_EPOCH set, every time stamp in it is that one, so it builds the same.
set(CPACK_PACKAGE_NAME torvane)
set(CPACK_PACKAGE_VENDOR "The Torvane developers")
set(CPACK_PACKAGE_CONTACT "Torvane developers <torvane-devel@torvane.invalid>")
# Each package's summary heads its own description: cpack would put one summary on both.
file(READ ${CMAKE_SOURCE_DIR}/packaging/description game_description)
set(CPACK_DEBIAN_GAME_DESCRIPTION "single-screen arcade shooter: turn the line, shoot the balls
${game_description}")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${CMAKE_SOURCE_DIR}/packaging/description)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_GAME_PACKAGE_NAME torvane)
set(CPACK_DEBIAN_SERVER_PACKAGE_NAME torvane-scores)
set(CPACK_DEBIAN_SERVER_PACKAGE_DEPENDS adduser)
set(CPACK_DEBIAN_SERVER_PACKAGE_CONTROL_EXTRA "${scores_scripts}")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
file(READ ${CMAKE_SOURCE_DIR}/packaging/torvane-scores.description server_description)
set(CPACK_DEBIAN_SERVER_DESCRIPTION "world table for Torvane: a score server replaying every game
${server_description}")

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
