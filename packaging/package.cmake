# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package of the installed files (cpack -G DEB in the build
# directory).  Its library dependencies are read off the program by
# dpkg-shlibdeps (dpkg-dev, file); what the program loads by name is added
# by hand.

set(CPACK_PACKAGE_NAME ostrel)
set(CPACK_PACKAGE_VENDOR "Ostrel developers")
# The maintainer's name and address, as Debian's Maintainer field wants it.
set(OSTREL_MAINTAINER "Ostrel developers <developers@ostrel.org>")
set(CPACK_PACKAGE_CONTACT "${OSTREL_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop Sun calculator")
# Lines of at most 80 characters, as a package description is shown; an
# empty line parts two paragraphs.
set(CPACK_PACKAGE_DESCRIPTION
"For any site on Earth and any moment from 1700 to 2100 Ostrel shows the
Sun's position (ecliptic longitude, right ascension, declination, altitude,
azimuth, airmass), the local sidereal time, the Earth-Sun distance and the
Sun's diameter, and for the day the culmination, the equation of time,
sunrise, sunset and day length, with polar day and night recognised. It
follows the computer's clock or computes a typed moment, in English or
Russian.

The command-line program ostrel-cli computes the same for a terminal or a
script, and also the civil, nautical and astronomical twilights, the golden
and blue hours, tables of sunrise and sunset over a span of dates and the
Sun's path over a day, as text, JSON or CSV.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${OSTREL_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window asks for the Liberation faces by name (layout.cpp): other
# faces draw wider and cut captions.  These come on top of the libraries
# that dpkg-shlibdeps finds.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
# Qt's own Wayland platform; without it the window runs through XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
