# Install layout of Orvello and its Debian package.
#
#   bin/orvello, bin/orvello-stamp
#   share/orvello/fonts/          the seven-segment date face (the programs look here, as
#                                 ../share/orvello/fonts from their own folder)
#   share/applications/, share/metainfo/, share/icons/hicolor/NxN/apps/, share/man/man1/,
#   share/man/zh_CN/man1/ (both pages in Chinese)
set(ORVELLO_APP_ID org.orvello.Orvello)
set(ORVELLO_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(ORVELLO_ICON_SIZES 16 32 48 128 256)

install(TARGETS orvello orvello-stamp RUNTIME DESTINATION bin)

foreach(font ${ORVELLO_FONT_FILES})
  install(FILES ${ORVELLO_FONTS_OUT}/${font} DESTINATION share/orvello/fonts)
endforeach()
# The font's licence travels with the font files.
set(ORVELLO_DSEG_COPYRIGHT /usr/share/doc/fonts-dseg/copyright CACHE FILEPATH
    "Copyright and licence of the DSEG font files")
if(EXISTS ${ORVELLO_DSEG_COPYRIGHT})
  install(FILES ${ORVELLO_DSEG_COPYRIGHT} DESTINATION share/orvello/fonts RENAME COPYRIGHT)
endif()

# The package's machine-readable copyright file: the program's terms, and the fonts' holder and
# licence taken from the copyright file that came with them, its licence text included.
set(ORVELLO_DSEG_HOLDER "keshikan")
set(ORVELLO_DSEG_LICENSE "OFL-1.1")
set(dseg_licence_text "")
if(EXISTS ${ORVELLO_DSEG_COPYRIGHT})
  file(READ ${ORVELLO_DSEG_COPYRIGHT} dseg_copyright)
  if(dseg_copyright MATCHES "\nCopyright: ([^\n]*)\nLicense: ([^\n]*)\n(( [^\n]*\n)*)")
    set(ORVELLO_DSEG_HOLDER "${CMAKE_MATCH_1}")
    set(ORVELLO_DSEG_LICENSE "${CMAKE_MATCH_2}")
    set(dseg_licence_text "${CMAKE_MATCH_3}")
  endif()
endif()
configure_file(${ORVELLO_PACKAGING_DIR}/copyright.in ${CMAKE_BINARY_DIR}/doc/copyright @ONLY)
if(dseg_licence_text)
  file(APPEND ${CMAKE_BINARY_DIR}/doc/copyright "\nLicense: ${ORVELLO_DSEG_LICENSE}\n${dseg_licence_text}")
endif()
install(FILES ${CMAKE_BINARY_DIR}/doc/copyright DESTINATION share/doc/orvello)
configure_file(${ORVELLO_PACKAGING_DIR}/changelog.in ${CMAKE_BINARY_DIR}/doc/changelog @ONLY)

install(FILES ${ORVELLO_PACKAGING_DIR}/${ORVELLO_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${ORVELLO_PACKAGING_DIR}/${ORVELLO_APP_ID}.metainfo.xml DESTINATION share/metainfo)
foreach(size ${ORVELLO_ICON_SIZES})
  install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/orvello-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME ${ORVELLO_APP_ID}.png)
endforeach()

# Man pages are installed compressed, as Debian keeps them.
set(manpages)
foreach(page orvello.1 orvello-stamp.1)
  set(out ${CMAKE_BINARY_DIR}/man/${page}.gz)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND gzip -9 -n -c ${ORVELLO_PACKAGING_DIR}/${page} > ${out}
    DEPENDS ${ORVELLO_PACKAGING_DIR}/${page} VERBATIM)
  list(APPEND manpages ${out})
endforeach()
set(changelog ${CMAKE_BINARY_DIR}/doc/changelog.gz)
add_custom_command(OUTPUT ${changelog}
  COMMAND gzip -9 -n -c ${CMAKE_BINARY_DIR}/doc/changelog > ${changelog}
  DEPENDS ${CMAKE_BINARY_DIR}/doc/changelog VERBATIM)
add_custom_target(manpages ALL DEPENDS ${manpages} ${changelog})
install(FILES ${changelog} DESTINATION share/doc/orvello)
install(FILES ${manpages} DESTINATION share/man/man1)
set(zh_pages)
foreach(page orvello orvello-stamp)
  set(zh_page ${CMAKE_BINARY_DIR}/man/zh_CN/${page}.1.gz)
  add_custom_command(OUTPUT ${zh_page}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man/zh_CN
    COMMAND gzip -9 -n -c ${ORVELLO_PACKAGING_DIR}/${page}.zh_CN.1 > ${zh_page}
    DEPENDS ${ORVELLO_PACKAGING_DIR}/${page}.zh_CN.1 VERBATIM)
  list(APPEND zh_pages ${zh_page})
endforeach()
add_custom_target(manpages_zh_CN ALL DEPENDS ${zh_pages})
install(FILES ${zh_pages} DESTINATION share/man/zh_CN/man1)

# `make package`: a .deb whose library dependencies dpkg-shlibdeps computes from the binaries.
# What the binaries load by name is added by hand: the TIFF image plugin that start-up checks for,
# and the Chinese faces of the interface and of the title's default face.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvello)
set(CPACK_PACKAGE_VENDOR "Orvello")
set(CPACK_PACKAGE_CONTACT "Orvello developers <developers@orvello.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "stamp the capture date and a title onto digital camera photos")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.orvello.example/app/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# libheif is opened when a HEIF photo is first met, so the library scan does not see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libheif1, qt6-image-formats-plugins, fonts-arphic-uming, fonts-wqy-zenhei")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
# The summary above is the first line of the package's description; this is the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Orvello shows a JPEG, TIFF or HEIC photo, lists every EXIF item of the file
and stamps the capture date, in a seven-segment face, and a title of your own
onto the full-resolution picture. Step through the photos of a folder,
nudge and style the two stamps, turn the photo by quarter turns, save the
stamped result as a new JPEG or print it. The interface is in Simplified
Chinese, or in English under an English locale. orvello-stamp does the same
from the command line.")
include(CPack)
