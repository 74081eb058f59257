# Run by ctest: cmake -DBUILD_DIR= -DPREFIX= -DAPP_ID= -DSIZES= -DDESKTOP_FILE_VALIDATE=
#                     -DAPPSTREAMCLI= -P checkinstall.cmake
function(require_file path)
  if(NOT EXISTS ${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endfunction()

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "failed: ${ARGN}\n${out}${err}")
  endif()
endfunction()

file(REMOVE_RECURSE ${PREFIX})
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX})

require_file(${PREFIX}/bin/twinsift)

set(desktop ${PREFIX}/share/applications/${APP_ID}.desktop)
require_file(${desktop})
run(${DESKTOP_FILE_VALIDATE} ${desktop})
file(STRINGS ${desktop} entry)
foreach(line "Name=Twinsift" "Categories=Utility;FileTools;" "StartupWMClass=${APP_ID}"
        "Icon=${APP_ID}" "Exec=twinsift %f" "MimeType=inode/directory;")
  list(FIND entry "${line}" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "desktop entry lacks ${line}")
  endif()
endforeach()

set(metainfo ${PREFIX}/share/metainfo/${APP_ID}.metainfo.xml)
require_file(${metainfo})
run(${APPSTREAMCLI} validate --no-net ${metainfo})

# Each icon is a PNG of the size its folder names: width and height are the
# two big-endian words after the IHDR tag.
foreach(size IN LISTS SIZES)
  set(icon ${PREFIX}/share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
  require_file(${icon})
  file(READ ${icon} header OFFSET 12 LIMIT 12 HEX)
  math(EXPR expected "${size}" OUTPUT_FORMAT HEXADECIMAL)
  string(SUBSTRING "${expected}" 2 -1 digits)
  string(LENGTH "${digits}" length)
  math(EXPR padding "8 - ${length}")
  string(REPEAT "0" ${padding} zeros)
  set(word "${zeros}${digits}")
  string(TOLOWER "${word}" word)
  if(NOT header STREQUAL "49484452${word}${word}")
    message(FATAL_ERROR "${size}x${size} icon has the wrong header ${header}")
  endif()
endforeach()
