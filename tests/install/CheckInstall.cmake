# Installs the build into a fresh prefix and checks what a desktop needs
# there: the program and its libraries, the resources where the program
# looks for them, the desktop entry, the project type and the icon.
#
# cmake -DBUILD_DIR=<build tree> -DPREFIX=<scratch prefix> -P CheckInstall.cmake

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE installed OUTPUT_QUIET)
if(NOT installed EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${installed}")
endif()

set(expected
  bin/brisane
  lib/libcorvane.so
  lib/liblumenta.so
  lib/libplatform.so
  "share/brisane/Brisane Help.pdf"
  "share/brisane/Orvella Help.pdf"
  share/brisane/FormatTables
  share/brisane/Slideshows.plugin
  share/brisane/menu_template.plugin
  share/applications/brisane.desktop
  share/mime/packages/brisane-project.xml
  share/icons/hicolor/scalable/apps/brisane.svg
  share/icons/hicolor/48x48/apps/brisane.png
  share/icons/hicolor/256x256/apps/brisane.png)
foreach(path IN LISTS expected)
  if(NOT EXISTS "${PREFIX}/${path}")
    message(FATAL_ERROR "missing from the installation: ${path}")
  endif()
endforeach()
foreach(folder FormatTables Slideshows.plugin menu_template.plugin)
  file(GLOB_RECURSE inside "${PREFIX}/share/brisane/${folder}/*")
  if(NOT inside)
    message(FATAL_ERROR "share/brisane/${folder} is empty")
  endif()
endforeach()

# The program loads its libraries from the prefix, wherever that is.
execute_process(COMMAND readelf -d "${PREFIX}/bin/brisane" OUTPUT_VARIABLE dynamic
                RESULT_VARIABLE read)
if(NOT read EQUAL 0 OR NOT dynamic MATCHES "R(UN)?PATH[^\n]*\\$ORIGIN/\\.\\./lib")
  message(FATAL_ERROR "bin/brisane does not look for its libraries in ../lib:\n${dynamic}")
endif()
execute_process(COMMAND ldd "${PREFIX}/bin/brisane" OUTPUT_VARIABLE linked)
foreach(library corvane lumenta platform)
  if(NOT linked MATCHES "lib${library}\\.so => ${PREFIX}/bin/\\.\\./lib/lib${library}\\.so"
     AND NOT linked MATCHES "lib${library}\\.so => ${PREFIX}/lib/lib${library}\\.so")
    message(FATAL_ERROR "lib${library}.so is not taken from the prefix:\n${linked}")
  endif()
endforeach()

# The desktop entry starts the program on a project and names the types
# and the icon installed beside it.
file(READ "${PREFIX}/share/applications/brisane.desktop" entry)
foreach(line "Exec=brisane %f" "Icon=brisane" "Type=Application"
             "MimeType=inode/x-brisane-project;application/x-brisane-project-data;")
  string(FIND "${entry}" "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "brisane.desktop lacks \"${line}\"")
  endif()
endforeach()
file(READ "${PREFIX}/share/mime/packages/brisane-project.xml" types)
foreach(text "type=\"inode/x-brisane-project\"" "<glob pattern=\"*.brisane\"/>"
             "type=\"application/x-brisane-project-data\"" "pattern=\"project.data\"")
  string(FIND "${types}" "${text}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "brisane-project.xml lacks ${text}")
  endif()
endforeach()
message(STATUS "installed into ${PREFIX}")
