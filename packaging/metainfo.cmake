# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the installed AppStream metadata from org.ostrel.Ostrel.metainfo.xml.in.
#
# Software centres load a screenshot from the web address in the metadata,
# so the screenshots are only named when the address where the two README
# pictures (docs/window-english.png, docs/window-russian.png) are published
# is known: base_url is that address, an https one, or empty for none.
#
# Included by packaging/CMakeLists.txt, or run as a script by the install
# check to write the metadata for a given address:
#   cmake -DIN=<template> -DOUT=<file> -DBASE_URL=<https address> -P metainfo.cmake

function(ostrel_write_metainfo template output base_url)
  set(OSTREL_SCREENSHOTS "")
  if(base_url)
    if(NOT base_url MATCHES "^https://[^/]+")
      message(FATAL_ERROR "The screenshots' address must be an https address, not \"${base_url}\"")
    endif()
    string(REGEX REPLACE "/+$" "" base_url "${base_url}")
    set(OSTREL_SCREENSHOTS "  <screenshots>
    <screenshot type=\"default\">
      <caption>The window after a calculation</caption>
      <image type=\"source\">${base_url}/window-english.png</image>
    </screenshot>
    <screenshot>
      <caption>The same in Russian</caption>
      <image type=\"source\">${base_url}/window-russian.png</image>
    </screenshot>
  </screenshots>")
  endif()
  configure_file("${template}" "${output}" @ONLY)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
  ostrel_write_metainfo("${IN}" "${OUT}" "${BASE_URL}")
endif()
