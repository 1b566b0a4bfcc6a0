# A Debian package from the install rules: cpack -G DEB in the build folder.
set(CPACK_PACKAGE_NAME vuvov-ivoza)
set(CPACK_PACKAGE_VENDOR Vevadev)
set(CPACK_PACKAGE_CONTACT "Vevadev <support@vevadev.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for collapsible, hierarchical web navigation menus")
set(CPACK_PACKAGE_DESCRIPTION "Build a menu as a tree of branches and leaves, set its layout, \
preview it in an embedded browser and export a folder (custom.js, tree.html, treePics/) \
that any web server serves. Includes vuvov-ivoza-cli for site build scripts.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY vuvov-ivoza)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
# gzip keeps the package build quick; the payload is small either way.
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
include(CPack)
