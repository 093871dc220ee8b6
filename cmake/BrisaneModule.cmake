# Shared build rules. Every module globs its own sources so that adding a
# class means adding its two files and nothing else.

set(BRISANE_WARNINGS -Wall -Wextra -Wno-unused-parameter)

function(brisane_warnings target)
  target_compile_options(${target} PRIVATE ${BRISANE_WARNINGS})
endfunction()

# brisane_module(<name> [EXCLUDE subfolders...] [DEPS libs...])
# A static library of one application subsystem, from brisane/<name>/*.cpp.
# A subfolder that is a module of its own (common/widgets) is named in
# EXCLUDE and left to its own target, brisane_<name with _ for />.
# Without sources yet it is an interface target, so dependants still link.
function(brisane_module name)
  cmake_parse_arguments(ARG "" "" "EXCLUDE;DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.h
    ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.qrc)
  foreach(sub IN LISTS ARG_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "/${name}/${sub}/")
  endforeach()
  string(REPLACE "/" "_" target "brisane_${name}")
  set(has_cpp FALSE)
  foreach(s IN LISTS sources)
    if(s MATCHES "\\.cpp$")
      set(has_cpp TRUE)
    endif()
  endforeach()
  if(has_cpp)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${target} PUBLIC ${ARG_DEPS})
    brisane_warnings(${target})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# brisane_test(<module> [DEPS libs...] [PROMPT <gtest filter>])
# One test executable per folder tests/<module>, every case registered with
# ctest on its own so that `ctest -j` spreads them over the cores. The cases
# PROMPT names (a GoogleTest filter) end in seconds unless a reader waits
# for ever: they get three minutes, so that such a wait fails them instead
# of holding the suite for ten.
function(brisane_test module)
  cmake_parse_arguments(ARG "" "PROMPT" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${module}/*.cpp)
  if(NOT sources)
    return()
  endif()
  set(target test_${module})
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE testsupport ${ARG_DEPS} GTest::gtest)
  brisane_warnings(${target})
  if(ARG_PROMPT)
    brisane_discover_tests(${target} "-${ARG_PROMPT}" 600)
    brisane_discover_tests(${target} "${ARG_PROMPT}" 180)
  else()
    brisane_discover_tests(${target} "*" 600)
  endif()
endfunction()

# The cases of `target` that match `filter`, registered with `timeout` seconds.
function(brisane_discover_tests target filter timeout)
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    TEST_FILTER "${filter}"
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
               TIMEOUT ${timeout})
endfunction()

# brisane_shared_library(<target> [PUBLIC_DEPS libs...] [PRIVATE_DEPS libs...])
# A shared library from <dir>/src and public headers in <dir>/include.
function(brisane_shared_library target)
  cmake_parse_arguments(ARG "" "" "PUBLIC_DEPS;PRIVATE_DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/src/*.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/src/*.h
    ${CMAKE_CURRENT_SOURCE_DIR}/include/*.h)
  list(FILTER sources INCLUDE REGEX "\\.cpp$")
  if(NOT sources)
    # Nothing built yet: dependants still see the headers and dependencies.
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${CMAKE_CURRENT_SOURCE_DIR}/include)
    target_link_libraries(${target} INTERFACE ${ARG_PUBLIC_DEPS})
    return()
  endif()
  file(GLOB_RECURSE headers CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/src/*.h ${CMAKE_CURRENT_SOURCE_DIR}/include/*.h)
  add_library(${target} SHARED ${sources} ${headers})
  target_include_directories(${target}
    PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include
    PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src)
  target_link_libraries(${target} PUBLIC ${ARG_PUBLIC_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
  brisane_warnings(${target})
endfunction()

# brisane_forbid_widgets(<target>)
# The target is built without Qt6::Widgets in its links, so a widget header
# is not on its include path. A header named with its module folder
# (<QtWidgets/QWidget>) would still be found under the Qt root, so every
# widget header is shadowed, for this target's own sources only, by one that
# stops the build with a clear message.
function(brisane_forbid_widgets target)
  set(fence ${CMAKE_BINARY_DIR}/widget-fence)
  if(NOT EXISTS ${fence}/QtWidgets/QtWidgets)
    get_target_property(qt_dirs Qt6::Widgets INTERFACE_INCLUDE_DIRECTORIES)
    foreach(dir IN LISTS qt_dirs)
      if(dir MATCHES "/QtWidgets$")
        file(GLOB headers LIST_DIRECTORIES false RELATIVE ${dir} ${dir}/*)
      endif()
    endforeach()
    foreach(header IN LISTS headers)
      set(text "#error \"${header}: this module knows no widgets (see brisane/CMakeLists.txt)\"\n")
      file(WRITE ${fence}/QtWidgets/${header} "${text}")
      if(NOT header STREQUAL "QtWidgets")
        file(WRITE ${fence}/${header} "${text}")
      endif()
    endforeach()
  endif()
  target_include_directories(${target} BEFORE PRIVATE ${fence})
endfunction()
