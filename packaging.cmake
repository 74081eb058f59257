# `make package`: a Debian package of the installed app, twinsift_VERSION_ARCH.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME twinsift)
set(CPACK_PACKAGE_VENDOR Ambrivo)
set(CPACK_PACKAGE_CONTACT "Ambrivo <support@ambrivo.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "find exact duplicate files and move chosen copies to the Trash")
# The synopsis is the summary above; CPack indents these lines itself.
set(CPACK_PACKAGE_DESCRIPTION [=[Twinsift finds exact duplicate files inside one folder you choose: files
count as duplicates only when their sizes and SHA-256 digests match. You
review every duplicate set and mark the copies you no longer want; only
those are moved to the desktop Trash, where the file manager can restore
them. Nothing is deleted permanently and nothing leaves the computer.]=])
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://ambrivo.com/)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# 0755 folders and 0644 control files whatever the builder's umask.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The shared libraries the binary links, as dpkg-shlibdeps finds them ...
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# ... and what it loads at run time, which ldd cannot see: the QML modules
# the screens import, the window system plugins and the folder chooser's
# platform theme. The icon font is built into the binary. xdg-open opens
# files, folders and the website.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "qml6-module-qtqml, qml6-module-qtqml-models, qml6-module-qtqml-workerscript, \
qml6-module-qtquick, qml6-module-qtquick-window, qml6-module-qtquick-layouts, \
qml6-module-qtquick-controls, qml6-module-qtquick-templates, qt6-qpa-plugins, qt6-wayland, \
qt6-xdgdesktopportal-platformtheme, xdg-utils")
# GNOME's fonts and settings for Qt applications outside the portal, and
# Qt's own texts (its dialogs' buttons, the help's options) in the user's
# language; Twinsift's own translations are built into the binary.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-gtk-platformtheme, qt6-translations-l10n")
include(CPack)
