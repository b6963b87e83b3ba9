# The Debian package (`make deb`): what is installed, under /usr, with its
# dependencies on shared libraries worked out by dpkg-shlibdeps. The font is
# loaded through fontconfig at run time, where dpkg-shlibdeps cannot see it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tintor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tintor developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "recolour the theme of a touch phone, in an emulated phone")
set(CPACK_PACKAGE_DESCRIPTION
    "Tintor recolours the theme of an old touch phone: pick one of 65 colour\n\
swatches, then one of the 20 items of the phone's colour theme, and Tintor\n\
writes the colour into the phone's registry. The phone runs in a window of\n\
its own, or headless from a script, and keeps its registry in a standard\n\
registry export file.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Tintor developers <tintor@invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The font is no library the program links; libjpeg62-turbo is (shlibdeps
# finds it too), named here for the pictures --make-theme reads.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei, fonts-noto-color-emoji, libjpeg62-turbo")
include(CPack)
