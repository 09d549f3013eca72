# Helpers for Winelib targets.

set(WINE_INCLUDE_DIR /usr/include/wine/wine/windows)

# Flags that make GoogleTest (and the test sources) take its POSIX branch while
# windows.h keeps working: wineg++ predefines the Windows macros.
set(LORVEX_UNDEF_WIN32
  -U_WIN32 -U_WIN64 -UWIN32 -UWIN64 -U__WIN32 -U__WIN32__ -U__WIN64 -U__WIN64__
  -U__WINNT -U__WINNT__)

# Compiles a resource script with wrc and adds the result to TARGET.
function(lorvex_add_resources target rc_file)
  get_filename_component(name ${rc_file} NAME_WE)
  set(res ${CMAKE_CURRENT_BINARY_DIR}/${target}_${name}.res)
  set(includes -I${CMAKE_SOURCE_DIR}/resources -I${CMAKE_SOURCE_DIR}/include -I${WINE_INCLUDE_DIR})
  foreach(dir ${ARGN})
    list(APPEND includes -I${dir})
  endforeach()
  file(GLOB rc_deps CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*.rc ${CMAKE_SOURCE_DIR}/resources/*.h)
  add_custom_command(OUTPUT ${res}
    COMMAND ${WRC} ${includes} -o ${res} ${rc_file}
    DEPENDS ${rc_file} ${rc_deps}
    COMMENT "Compiling resources ${name}.rc"
    VERBATIM)
  set_source_files_properties(${res} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
  target_sources(${target} PRIVATE ${res})
endfunction()

# A Winelib program that uses the library: wineg++ writes NAME.exe.so and a
# launcher script NAME.exe. Linking the import library makes Wine's loader load
# and initialise the DLL before main; the ELF link resolves the C++ classes.
function(lorvex_winelib_program target)
  set_target_properties(${target} PROPERTIES SUFFIX ".exe")
  # After the objects on the link line, or nothing is imported through the
  # import library and the DLL is never initialised.
  target_link_libraries(${target} PRIVATE lorvexops_headers
    -L${LORVEX_DLL_DIR} -llorvexops -l:lorvexops.dll.so -Wl,-rpath,${LORVEX_DLL_DIR})
  add_dependencies(${target} lorvexops_dll)
endfunction()
