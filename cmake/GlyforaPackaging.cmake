# "cpack -G DEB" in a build folder makes a Debian package of what "cmake --install" installs.
# dpkg-shlibdeps (dpkg-dev) works out the library dependencies from the programs themselves.
set(CPACK_PACKAGE_NAME glyfora)
set(CPACK_PACKAGE_VENDOR Zorbatek)
set(CPACK_PACKAGE_CONTACT "Zorbatek <glyfora@zorbatek.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for bitmap typefaces")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Glyfora makes bitmap typefaces from installed fonts and edits them: the character-set\n"
    "picture, each character's placement metrics and the kerning pairs, shown as a game draws\n"
    "them. glyfora-cli converts, imports and renders typefaces on build servers.")
set(CPACK_PACKAGE_HOMEPAGE_URL ${GLYFORA_HOMEPAGE})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's libraries only recommend their platform plugins, but the editor cannot show a window
# without them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
include(CPack)
