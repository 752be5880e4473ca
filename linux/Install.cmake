# The installed program: `cmake --install` lays out a standard tree under the prefix,
# and `cpack -G DEB` packs the same tree as a Debian package.
#
#   PREFIX/bin/quenzar, quenzar-cli
#   PREFIX/share/quenzar/                    the factory files (data/), read only
#   PREFIX/share/applications/               desktop entry
#   PREFIX/share/icons/hicolor/              icon, scalable and 256 pixels
#   PREFIX/share/metainfo/                   AppStream metainfo
#   PREFIX/share/man/man1/                   quenzar(1), quenzar-cli(1)
#   PREFIX/share/doc/quenzar/                copyright, changelog
#
# The tree is relocatable: the programs find ../share/quenzar/ from their own folder
# (src/scene/Folders.h), so a staging install runs where it lies.

set(QZ_APP_ID org.quenzar.Quenzar)
set(QZ_LINUX ${CMAKE_SOURCE_DIR}/linux)
set(QZ_LINUX_OUT ${CMAKE_BINARY_DIR}/linux)

# The manual pages carry the date of this version's release in the metainfo, which
# must name it.
file(STRINGS ${QZ_LINUX}/${QZ_APP_ID}.metainfo.xml QZ_RELEASE REGEX "<release version=\"${PROJECT_VERSION}\"")
if(NOT QZ_RELEASE MATCHES "date=\"([0-9-]+)\"")
  message(FATAL_ERROR "linux/${QZ_APP_ID}.metainfo.xml has no release ${PROJECT_VERSION} with its date")
endif()
set(QZ_MANUAL_DATE ${CMAKE_MATCH_1})

# Manual pages and the changelog, compressed as Debian wants them (gzip -9n: no name
# or time stamp inside, so every build makes the same bytes).
find_program(QZ_GZIP gzip REQUIRED)
set(QZ_COMPRESSED "")
foreach(page quenzar quenzar-cli)
  configure_file(${QZ_LINUX}/${page}.1.in ${QZ_LINUX_OUT}/${page}.1 @ONLY)
  list(APPEND QZ_COMPRESSED ${page}.1)
endforeach()
configure_file(${QZ_LINUX}/changelog ${QZ_LINUX_OUT}/changelog COPYONLY)
list(APPEND QZ_COMPRESSED changelog)
set(QZ_COMPRESSED_FILES "")
foreach(name ${QZ_COMPRESSED})
  add_custom_command(OUTPUT ${QZ_LINUX_OUT}/${name}.gz
    COMMAND ${QZ_GZIP} -9n -c ${QZ_LINUX_OUT}/${name} > ${QZ_LINUX_OUT}/${name}.gz
    DEPENDS ${QZ_LINUX_OUT}/${name}
    VERBATIM)
  list(APPEND QZ_COMPRESSED_FILES ${QZ_LINUX_OUT}/${name}.gz)
endforeach()
add_custom_target(quenzar_linux_files ALL DEPENDS ${QZ_COMPRESSED_FILES})

install(TARGETS quenzar-cli RUNTIME DESTINATION bin)
if(QUENZAR_GUI)
  install(TARGETS quenzar RUNTIME DESTINATION bin)
endif()
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION share/quenzar)
install(FILES ${QZ_LINUX}/${QZ_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${QZ_LINUX}/${QZ_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${QZ_LINUX}/icons/${QZ_APP_ID}.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${QZ_LINUX}/icons/${QZ_APP_ID}.png DESTINATION share/icons/hicolor/256x256/apps)
install(FILES ${QZ_LINUX_OUT}/quenzar.1.gz ${QZ_LINUX_OUT}/quenzar-cli.1.gz DESTINATION share/man/man1)
install(FILES ${QZ_LINUX}/copyright ${QZ_LINUX_OUT}/changelog.gz DESTINATION share/doc/quenzar)

# The Debian package: the tree above under /usr, its library dependencies found by
# dpkg-shlibdeps, plus what the program needs that no library names: the fonts the
# factory designs and the pictures the tests pin are drawn with (Liberation 1.07 for
# Arial, Times New Roman and Courier New; DejaVu), and Qt's platform plugins for the
# window.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quenzar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Quenzar developers")
set(CPACK_PACKAGE_CONTACT "The Quenzar developers <developers@quenzar.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "designer of 3D buttons and headings for web pages")
set(CPACK_PACKAGE_DESCRIPTION
  "Quenzar turns a short message into a shaded three-dimensional button or\n\
heading for a web page: each character in its own font, colours or texture\n\
images, a button shape, depth, bevels, drop shadows and a light you drag,\n\
drawn at once by its own renderer. Buttons are exported as GIF, JPEG, BMP\n\
or PNG images and shown on a preview page.\n\
.\n\
quenzar-cli does the same work without a window, for scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, fonts-dejavu-core, fonts-dejavu-extra, qt6-qpa-plugins")
# The faces a letter its own font lacks is drawn from: Greek, Cyrillic, Hebrew, Arabic,
# Devanagari and most other scripts (Noto), Chinese, Japanese and Korean (Droid).
# Without them such letters are left blank, with a notice.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-core, fonts-droid-fallback")
include(CPack)
