# The Debian package of the Linux build, made by CPack:
#   cmake --build build --target package  ->  build/clientzepo_<version>_amd64.deb
#
# What it installs:
#   /usr/lib/clientzepo/clientzepo, xcopy, make-prefix   the programs
#   /usr/bin/clientzepo -> ../lib/clientzepo/clientzepo
#   /usr/bin/clientzepo-make-prefix -> ../lib/clientzepo/make-prefix
#   /usr/share/applications/clientzepo.desktop, the icon in hicolor (16, 32,
#   48 pixels), the manual pages, and copyright and changelog.gz in
#   /usr/share/doc/clientzepo.
#
# Why the programs live together in /usr/lib/clientzepo: the installer
# starts xcopy the Windows way, from its own folder first and then along
# PATH, and it learns its own folder from /proc/self/exe, which the kernel
# gives with every symbolic link resolved. So /usr/bin holds only links, the
# started installer sees /usr/lib/clientzepo as its folder and finds the
# xcopy beside it, as clientzepo.exe finds xcopy.exe on a Windows share; a
# system xcopy of another kind along PATH is never picked up first, and the
# program needs no rule of its own for an installed layout. In the build
# tree the programs sit together in build/bin, the same rule.
#
# Data files are in packaging/linux/; the icon's PNG files are drawn at build
# time (cmake/icons.cmake).

# A Debian package is made by a Linux build only, and is the front end's:
# without it there is nothing to ship.
if(WIN32 OR NOT TARGET clientzepo)
  return()
endif()

set(ZEPO_DEB_DIR ${CMAKE_CURRENT_SOURCE_DIR}/packaging/linux)
set(ZEPO_DEB_OUT ${CMAKE_BINARY_DIR}/packaging)
set(ZEPO_DEB_MAINTAINER "MORVICAN S.r.l. <assistenza@morvican.example>"
    CACHE STRING "The Maintainer field of the Debian package")

# The changelog's latest entry names the version being shipped; a release
# that forgot its entry is stopped here rather than shipped mislabelled.
file(STRINGS ${ZEPO_DEB_DIR}/changelog ZEPO_DEB_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT ZEPO_DEB_CHANGELOG_TOP MATCHES "^clientzepo \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/linux/changelog: its latest entry is \"${ZEPO_DEB_CHANGELOG_TOP}\", "
                      "but the project is version ${PROJECT_VERSION}: add an entry for it")
endif()

# The programs, and the links in /usr/bin to them (made here, installed as
# links).
install(TARGETS clientzepo xcopy make-prefix RUNTIME DESTINATION lib/clientzepo)
file(MAKE_DIRECTORY ${ZEPO_DEB_OUT}/bin)
file(CREATE_LINK ../lib/clientzepo/clientzepo ${ZEPO_DEB_OUT}/bin/clientzepo SYMBOLIC)
file(CREATE_LINK ../lib/clientzepo/make-prefix ${ZEPO_DEB_OUT}/bin/clientzepo-make-prefix SYMBOLIC)
install(FILES ${ZEPO_DEB_OUT}/bin/clientzepo ${ZEPO_DEB_OUT}/bin/clientzepo-make-prefix
        DESTINATION bin)

# The menu entry and its icon (cmake/icons.cmake draws it).
foreach(size 16 32 48)
  install(FILES ${ZEPO_ICON_DIR}/${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME clientzepo.png)
endforeach()
install(FILES ${ZEPO_DEB_DIR}/clientzepo.desktop DESTINATION share/applications)

# The manual pages and the changelog, compressed without a time stamp so
# that the same sources give the same package.
set(ZEPO_GZIPPED "")
function(zepo_gzip source output)
  add_custom_command(OUTPUT ${output}
    COMMAND sh -c "gzip -9 -n -c \"$0\" > \"$1\"" ${source} ${output}
    DEPENDS ${source} VERBATIM)
  set(ZEPO_GZIPPED ${ZEPO_GZIPPED} ${output} PARENT_SCOPE)
endfunction()
foreach(page clientzepo clientzepo-make-prefix)
  configure_file(${ZEPO_DEB_DIR}/${page}.1.in ${ZEPO_DEB_OUT}/man/${page}.1 @ONLY)
  zepo_gzip(${ZEPO_DEB_OUT}/man/${page}.1 ${ZEPO_DEB_OUT}/man/${page}.1.gz)
  install(FILES ${ZEPO_DEB_OUT}/man/${page}.1.gz DESTINATION share/man/man1)
endforeach()
zepo_gzip(${ZEPO_DEB_DIR}/changelog ${ZEPO_DEB_OUT}/changelog.gz)
install(FILES ${ZEPO_DEB_OUT}/changelog.gz ${ZEPO_DEB_DIR}/copyright
        DESTINATION share/doc/clientzepo)

add_custom_target(package-data ALL DEPENDS ${ZEPO_GZIPPED})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME clientzepo)
set(CPACK_PACKAGE_VENDOR "MORVICAN S.r.l.")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "installer of ZEPO client workstations")
# The long description, in lines that fit a terminal as Debian wants them
# (without apostrophes, which CPack writes as XML entities).
set(CPACK_PACKAGE_DESCRIPTION_FILE ${ZEPO_DEB_DIR}/description)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ZEPO_DEB_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION admin)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from dpkg-shlibdeps; Qt's platform plugins are loaded
# at run time, so no library names them: without qt6-qpa-plugins the
# program cannot open a window. The windows are designed in Arial, which
# Liberation Sans stands in for.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation")
include(CPack)
