# Helpers shared by every folder's CMakeLists.txt.
#
# Sources are collected by glob so that a new class is just a new .h/.cpp pair.
# A folder whose main.cpp holds a program's entry point keeps it out of the
# folder's library.

function(stow_sources out dir)
  file(GLOB found CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.c)
  list(FILTER found EXCLUDE REGEX "/main\\.cpp$")
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# stow_library(NAME DIRS dir... [PUBLIC_LIBS lib...])
function(stow_library name)
  cmake_parse_arguments(ARG "" "" "DIRS;PUBLIC_LIBS" ${ARGN})
  set(all)
  foreach(dir ${ARG_DIRS})
    stow_sources(found ${dir})
    list(APPEND all ${found})
  endforeach()
  if(all)
    add_library(${name} STATIC ${all})
    target_include_directories(${name} PUBLIC ${ARG_DIRS})
    target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LIBS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${ARG_DIRS})
    target_link_libraries(${name} INTERFACE ${ARG_PUBLIC_LIBS})
  endif()
endfunction()

# Self-contained programs carry the C++ runtime with them. libgcc stays a
# shared library: its static unwinder would need a newer C library than the
# programs otherwise do.
function(stow_self_contained target)
  if(NOT STOW_SANITIZE AND NOT STOW_FUZZ)
    target_link_options(${target} PRIVATE -static-libstdc++ -Wl,--build-id -Wl,--gc-sections)
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/platform/support/compat/arc4random.cpp
      ${PROJECT_SOURCE_DIR}/platform/support/compat/hypotf.cpp)
  endif()
endfunction()

# stow_strip_release(TARGET): after TARGET links, moves its debug information
# into build/debug/TARGET.debug (and build/debug/.build-id/xx/yyyy.debug, the
# layout debuggers look up by build id), strips the program and links it to
# that file. Call it before attaching resources: strip drops appended
# resources. Sanitized and fuzzing builds keep their symbols.
function(stow_strip_release target)
  if(STOW_SANITIZE OR STOW_FUZZ)
    return()
  endif()
  set(debug ${CMAKE_BINARY_DIR}/debug/${target}.debug)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/debug
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug --compress-debug-sections $<TARGET_FILE:${target}> ${debug}
    COMMAND ${CMAKE_STRIP} --strip-all $<TARGET_FILE:${target}>
    COMMAND ${CMAKE_OBJCOPY} --add-gnu-debuglink=${debug} $<TARGET_FILE:${target}>
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/link-build-id ${debug} ${CMAKE_BINARY_DIR}/debug
    COMMENT "Stripping ${target}; its debug information goes to ${debug}"
    VERBATIM)
endfunction()

# stow_attach_strings(TARGET DIR): after TARGET links, attaches the string
# tables in DIR (one <code>.txt per language, docs/strings.md) to it as 'CSTR'
# resources named "<code>:<number>". A change to a table relinks the target.
# Call it after any POST_BUILD strip: strip drops appended resources.
function(stow_attach_strings target dir)
  file(GLOB tables CONFIGURE_DEPENDS ${dir}/*.txt)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${tables})
  add_dependencies(${target} stowres)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND stowres strings $<TARGET_FILE:${target}> ${dir}
    COMMENT "Attaching the string tables of ${dir} to ${target}"
    VERBATIM)
endfunction()

# stow_attach_appinfo(TARGET SIGNATURE VERSION SHORT LONG): after TARGET
# links, writes its application signature ("BEOS:APP_SIG") and version
# ("BEOS:APP_VERSION"; VERSION is major.middle.minor.variety.internal) as
# resources. Call it after any POST_BUILD strip.
function(stow_attach_appinfo target signature version short long)
  add_dependencies(${target} stowres)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND stowres appinfo $<TARGET_FILE:${target}> ${signature} ${version} ${short} ${long}
    COMMENT "Attaching the application information of ${target}"
    VERBATIM)
endfunction()

# stow_attach_interface_module(TARGET): after TARGET links, attaches the
# display module (platform/interface/fltk) to it, which the program loads
# from memory when it has a display. Call it after any POST_BUILD strip.
function(stow_attach_interface_module target)
  if(NOT TARGET stow_interface_module)
    return()
  endif()
  add_dependencies(${target} stowres stow_interface_module)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${STOW_INTERFACE_MODULE_FILE})
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND stowres module $<TARGET_FILE:${target}> $<TARGET_FILE:stow_interface_module>
    COMMENT "Attaching the display module to ${target}"
    VERBATIM)
endfunction()

# stow_attach_bitmaps(TARGET DIR): after TARGET links, attaches every PNG
# picture in DIR as a 'BBMP' resource named after the file's stem (the
# pictures that oResources::GetBitmap finds, such as the folder buttons'
# "folder"). Call it after any POST_BUILD strip.
function(stow_attach_bitmaps target dir)
  file(GLOB pictures CONFIGURE_DEPENDS ${dir}/*.png)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${pictures})
  add_dependencies(${target} stowres)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND stowres bitmaps $<TARGET_FILE:${target}> ${dir}
    COMMENT "Attaching the bitmaps of ${dir} to ${target}"
    VERBATIM)
endfunction()
