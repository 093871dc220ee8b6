# Installs the build into a fresh prefix and checks what a desktop needs
# there: the program, its private libraries in their own folder, found
# through the program's run path, the resources where the program's own
# lookups find them, the desktop entry, the project type and the icon.
#
# cmake -DBUILD_DIR=<build tree> -DPREFIX=<scratch prefix> -DPROBE=<resource probe>
#       -DLIBRARY_DIR=<private libraries, relative> -DRESOURCE_DIR=<resources, relative>
#       -P CheckInstall.cmake

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE installed OUTPUT_QUIET)
if(NOT installed EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${installed}")
endif()

set(libraries corvane lumenta platform)
set(resources "Brisane Help.pdf" "Orvella Help.pdf" FormatTables Slideshows.plugin
              menu_template.plugin)
set(expected
  bin/brisane
  share/applications/brisane.desktop
  share/mime/packages/brisane-project.xml
  share/icons/hicolor/scalable/apps/brisane.svg
  share/icons/hicolor/48x48/apps/brisane.png
  share/icons/hicolor/256x256/apps/brisane.png)
foreach(library IN LISTS libraries)
  list(APPEND expected "${LIBRARY_DIR}/lib${library}.so")
endforeach()
foreach(resource IN LISTS resources)
  list(APPEND expected "${RESOURCE_DIR}/${resource}")
endforeach()
foreach(path IN LISTS expected)
  if(NOT EXISTS "${PREFIX}/${path}")
    message(FATAL_ERROR "missing from the installation: ${path}")
  endif()
endforeach()
foreach(folder FormatTables Slideshows.plugin menu_template.plugin)
  file(GLOB_RECURSE inside "${PREFIX}/${RESOURCE_DIR}/${folder}/*")
  if(NOT inside)
    message(FATAL_ERROR "${RESOURCE_DIR}/${folder} is empty")
  endif()
endforeach()

# The private libraries stay out of the shared library folder.
get_filename_component(shared_folder "${PREFIX}/${LIBRARY_DIR}" DIRECTORY)
file(GLOB strays "${shared_folder}/lib*.so*")
if(strays)
  message(FATAL_ERROR "libraries in the shared library folder: ${strays}")
endif()

# The program loads its libraries from their folder in the prefix, wherever
# the prefix is, and they load each other from there.
file(RELATIVE_PATH from_program "${PREFIX}/bin" "${PREFIX}/${LIBRARY_DIR}")
execute_process(COMMAND readelf -d "${PREFIX}/bin/brisane" OUTPUT_VARIABLE dynamic
                RESULT_VARIABLE read)
string(REPLACE "." "\\." from_program_pattern "${from_program}")
if(NOT read EQUAL 0 OR NOT dynamic MATCHES "R(UN)?PATH[^\n]*\\$ORIGIN/${from_program_pattern}")
  message(FATAL_ERROR "bin/brisane does not look for its libraries in ${from_program}:\n${dynamic}")
endif()
foreach(object bin/brisane ${LIBRARY_DIR}/libcorvane.so ${LIBRARY_DIR}/liblumenta.so)
  execute_process(COMMAND ldd "${PREFIX}/${object}" OUTPUT_VARIABLE linked)
  foreach(library IN LISTS libraries)
    if(linked MATCHES "lib${library}\\.so => ([^ \n]*)")
      get_filename_component(found "${CMAKE_MATCH_1}" REALPATH)
      get_filename_component(wanted "${PREFIX}/${LIBRARY_DIR}/lib${library}.so" REALPATH)
      if(NOT found STREQUAL wanted)
        message(FATAL_ERROR "${object} takes lib${library}.so from ${found}:\n${linked}")
      endif()
    elseif(object STREQUAL "bin/brisane")
      message(FATAL_ERROR "bin/brisane does not load lib${library}.so:\n${linked}")
    endif()
  endforeach()
  if(linked MATCHES "not found")
    message(FATAL_ERROR "${object} misses a library:\n${linked}")
  endif()
endforeach()

# Beside the installed program, the program's own lookups find every
# resource in the installed resource folder.
file(COPY "${PROBE}" DESTINATION "${PREFIX}/bin")
get_filename_component(probe_name "${PROBE}" NAME)
execute_process(COMMAND "${PREFIX}/bin/${probe_name}" OUTPUT_VARIABLE found_resources
                RESULT_VARIABLE probed)
file(REMOVE "${PREFIX}/bin/${probe_name}")
if(NOT probed EQUAL 0)
  message(FATAL_ERROR "the resource probe failed: ${probed}")
endif()
string(STRIP "${found_resources}" found_resources)
string(REPLACE "\n" ";" found_resources "${found_resources}")
set(wanted_resources "Brisane Help.pdf" "Orvella Help.pdf" Slideshows.plugin FormatTables
                     menu_template.plugin)
foreach(found resource IN ZIP_LISTS found_resources wanted_resources)
  get_filename_component(found_real "${found}" REALPATH)
  get_filename_component(wanted_real "${PREFIX}/${RESOURCE_DIR}/${resource}" REALPATH)
  if(NOT found_real STREQUAL wanted_real)
    message(FATAL_ERROR "the program looks for ${resource} at \"${found}\", "
                        "not in ${RESOURCE_DIR}")
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
