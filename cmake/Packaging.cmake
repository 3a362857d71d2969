# `make package`: a Debian package of what `cmake --install` lays out. The libraries it links are
# found by dpkg-shlibdeps; the SoundFont and the fonts are data the player looks for at run time,
# so they are dependencies rather than bundled files.
set(DRUVEL_PACKAGE_CONTACT "The Druvel developers <maintainers@druvel.org>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME druvel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${DRUVEL_PACKAGE_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "MIDI player with level meters and karaoke lyrics")
set(CPACK_PACKAGE_DESCRIPTION
    "Druvel plays Standard MIDI Files (.mid, .smf, .rmi, .kar), also from inside ZIP and LZH\n"
    "archives, through its embedded General MIDI synthesizer (FluidSynth) or any ALSA\n"
    "sequencer port. It shows a level meter per instrument and wipes the lyrics of XF\n"
    "karaoke, soft-karaoke and lyric-event songs in time.\n"
    "\n"
    "druvel-cli shows song information, plays songs in a terminal and renders them to WAV.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${DRUVEL_HOME_PAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Added to what dpkg-shlibdeps finds. Qt loads its display plugins at run time, and libqt6gui6
# only recommends them: without them the window cannot open.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fluid-soundfont-gm | timgm6mb-soundfont, "
                                 "fonts-ipafont-gothic, fonts-liberation")
string(JOIN "" CPACK_DEBIAN_PACKAGE_DEPENDS ${CPACK_DEBIAN_PACKAGE_DEPENDS})
# Qt's own Japanese texts for its dialogs; the English catalog is built into the programs.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
include(CPack)
