# Installs the build into PREFIX and checks that the desktop gets what it needs.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
include(GNUInstallDirs)
set(expected
  ${CMAKE_INSTALL_BINDIR}/ventrix
  ${CMAKE_INSTALL_DATADIR}/applications/${APP_ID}.desktop
  ${CMAKE_INSTALL_DATADIR}/metainfo/${APP_ID}.metainfo.xml
  ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps/${APP_ID}.svg)
foreach(size 16 24 32 48 64 128 256)
  list(APPEND expected ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
endforeach()
foreach(file IN LISTS expected)
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
