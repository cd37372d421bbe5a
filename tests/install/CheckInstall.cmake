# Installs the build into a fresh folder and checks what a desktop needs of it: the
# program, a desktop entry that starts it and names an installed icon, the icon in each
# size, and the udev rule.
#   cmake -DBUILD_DIR=<build> -DPREFIX=<empty folder> -DICON_SIZES=<sizes> -P CheckInstall.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${result}): ${errors}")
endif()

function(expect_file path)
  if(NOT EXISTS ${PREFIX}/${path} OR IS_DIRECTORY ${PREFIX}/${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endfunction()

expect_file(bin/vtrm408x)
execute_process(COMMAND test -x ${PREFIX}/bin/vtrm408x RESULT_VARIABLE not_executable)
if(not_executable)
  message(FATAL_ERROR "bin/vtrm408x is not executable")
endif()

expect_file(share/applications/vtrm408x.desktop)
file(STRINGS ${PREFIX}/share/applications/vtrm408x.desktop entry)
foreach(line "[Desktop Entry]" "Type=Application" "Exec=vtrm408x" "Icon=vtrm408x")
  list(FIND entry "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the desktop entry lacks the line ${line}")
  endif()
endforeach()
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(DESKTOP_FILE_VALIDATE)
  execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} ${PREFIX}/share/applications/vtrm408x.desktop
                  RESULT_VARIABLE invalid OUTPUT_VARIABLE complaints ERROR_VARIABLE complaints)
  if(invalid)
    message(FATAL_ERROR "desktop-file-validate: ${complaints}")
  endif()
endif()

# Each icon is a PNG of the size its folder names (width and height from the IHDR chunk).
foreach(size IN LISTS ICON_SIZES)
  set(icon share/icons/hicolor/${size}x${size}/apps/vtrm408x.png)
  expect_file(${icon})
  file(READ ${PREFIX}/${icon} header LIMIT 24 HEX)
  string(SUBSTRING "${header}" 0 16 signature)
  string(SUBSTRING "${header}" 32 8 width_hex)
  string(SUBSTRING "${header}" 40 8 height_hex)
  math(EXPR width "0x${width_hex}")
  math(EXPR height "0x${height_hex}")
  if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT width EQUAL size OR NOT height EQUAL size)
    message(FATAL_ERROR "${icon} is not a ${size} x ${size} PNG (${width} x ${height})")
  endif()
endforeach()

expect_file(lib/udev/rules.d/70-vtrm408x.rules)
file(STRINGS ${PREFIX}/lib/udev/rules.d/70-vtrm408x.rules rule REGEX "TAG\\+=\"uaccess\"")
if(NOT rule)
  message(FATAL_ERROR "the installed udev rule gives no seat access")
endif()
