# Installs the build into a scratch folder and checks that it holds everything a
# Linux desktop needs of the program: both programs, the desktop entry, the icon
# in every size (each PNG as large as its folder says), the AppStream metadata
# (valid in its installed place) and the manual page.
# Run with -D BUILD_DIR=... -D DEST=... -D DESKTOP_ID=... -D ICON_SIZES="16;22;...".
file(REMOVE_RECURSE ${DEST})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${DEST}
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()

set(expected
  bin/kvlconfig3
  bin/kvl3sim
  share/applications/${DESKTOP_ID}.desktop
  share/metainfo/${DESKTOP_ID}.metainfo.xml
  share/man/man1/kvlconfig3.1.gz
  share/icons/hicolor/scalable/apps/kvlconfig3.svg)
foreach(size IN LISTS ICON_SIZES)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/kvlconfig3.png)
endforeach()
foreach(path IN LISTS expected)
  if(NOT EXISTS ${DEST}/${path})
    message(SEND_ERROR "not installed: ${path}")
  endif()
endforeach()

# A PNG's width and height are the two big-endian words at byte 16.
foreach(size IN LISTS ICON_SIZES)
  set(png ${DEST}/share/icons/hicolor/${size}x${size}/apps/kvlconfig3.png)
  if(EXISTS ${png})
    file(READ ${png} header OFFSET 16 LIMIT 8 HEX)
    math(EXPR want "${size}" OUTPUT_FORMAT HEXADECIMAL)
    string(REGEX REPLACE "^0x" "" want "${want}")
    string(LENGTH "${want}" length)
    math(EXPR pad "8 - ${length}")
    string(REPEAT "0" ${pad} zeros)
    if(NOT header STREQUAL "${zeros}${want}${zeros}${want}")
      message(SEND_ERROR "${png} is not ${size}x${size}: ${header}")
    endif()
  endif()
endforeach()

execute_process(COMMAND appstreamcli validate-tree --no-net ${DEST} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(SEND_ERROR "appstreamcli validate-tree failed: ${rc}")
endif()
