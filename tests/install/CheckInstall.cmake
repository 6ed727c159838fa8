# Installs the build into a scratch prefix and checks that the desktop
# program lands where a Linux desktop looks for it.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(f bin/vistorel bin/vistorel-img share/applications/vistorel.desktop
          share/icons/hicolor/256x256/apps/vistorel.png share/icons/hicolor/scalable/apps/vistorel.svg)
  if(NOT EXISTS "${PREFIX}/${f}")
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
file(STRINGS "${PREFIX}/share/applications/vistorel.desktop" entry)
foreach(line "Exec=vistorel %F" "Icon=vistorel" "Type=Application")
  list(FIND entry "${line}" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "desktop entry lacks '${line}'")
  endif()
endforeach()
file(REMOVE_RECURSE "${PREFIX}")
