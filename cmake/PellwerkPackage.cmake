# The Debian package of the two programs and their desktop files, made by
# "cpack -G DEB" in a build folder (scripts/package.sh does it on a release
# build). The shared libraries come from dpkg-shlibdeps; what the programs
# load or use at run time without linking it is listed by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pellwerk)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR MIRVO)
set(CPACK_PACKAGE_CONTACT "MIRVO <pellwerk@mirvo.de>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "label designer for Bluetooth LE thermal mini printers")
# Lines of at most 80 characters, as Debian's package tools show them.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
       "MIRVO Pellwerk designs labels and stickers for the small Bluetooth LE"
       "thermal printers of the MX series (V5G) and the MXW01 (V5X), which print"
       "384 dots per line at 203 dpi. Labels are composed of text, pictures and"
       "shapes over built-in frames, kept as templates and printed in numbered"
       "copies."
       ""
       "The package holds the editor pellwerk and the command-line companion"
       "pellwerk-cli, which renders and prints labels from scripts and draws the"
       "file manager's thumbnails of label files.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.mirvo.de/pellwerk")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Qt's platform and picture plugins, the German texts of Qt's dialogs, the
# label and icon fonts, and BlueZ, which the printer link talks to.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, qt6-image-formats-plugins, qt6-translations-l10n, fonts-liberation2, fonts-material-design-icons-iconfont, bluez")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, bash-completion")
include(CPack)
