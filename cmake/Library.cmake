# The library: lorvexops.dll.so, its fake PE module lorvexops.dll (which the
# loader needs to find the .dll.so through LoadLibraryW) and the import library.

set(LORVEX_SUBSYSTEMS win companions resources dib folder filetypes listview mail resize settings twain)
set(LORVEX_DLL_DIR ${CMAKE_BINARY_DIR}/lib)
file(MAKE_DIRECTORY ${LORVEX_DLL_DIR})

# Public headers, also used by the library itself.
add_library(lorvexops_headers INTERFACE)
target_include_directories(lorvexops_headers INTERFACE ${CMAKE_SOURCE_DIR}/include)

# The export list is the concatenation of one .spec fragment per subsystem, so
# each subsystem owns its own exports.
set(LORVEX_SPEC ${CMAKE_BINARY_DIR}/lorvexops.spec)
set(spec_text "# Generated from the subsystems' .spec fragments.\n")
set(lib_sources)
set(rc_includes "")
foreach(sub ${LORVEX_SUBSYSTEMS})
  file(GLOB sub_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${sub}/*.cpp ${CMAKE_SOURCE_DIR}/${sub}/*.c)
  list(APPEND lib_sources ${sub_sources})
  file(GLOB sub_specs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${sub}/*.spec)
  foreach(frag ${sub_specs})
    file(READ ${frag} frag_text)
    string(APPEND spec_text "${frag_text}\n")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${frag})
  endforeach()
endforeach()
file(CONFIGURE OUTPUT ${LORVEX_SPEC} CONTENT "${spec_text}" @ONLY)

# Every resources/*.rc (one per subsystem's dialogs) goes into one script.
file(GLOB rc_parts CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*.rc)
foreach(part ${rc_parts})
  get_filename_component(part_name ${part} NAME)
  string(APPEND rc_includes "#include \"${part_name}\"\n")
endforeach()
set(LORVEX_RC ${CMAKE_BINARY_DIR}/lorvexops_all.rc)
file(CONFIGURE OUTPUT ${LORVEX_RC} CONTENT "${rc_includes}" @ONLY)

add_library(lorvexops SHARED ${lib_sources})
set_target_properties(lorvexops PROPERTIES
  PREFIX "" SUFFIX ".dll.so"
  LIBRARY_OUTPUT_DIRECTORY ${LORVEX_DLL_DIR}
  LINK_DEPENDS ${LORVEX_SPEC})
target_include_directories(lorvexops PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/resources)
target_compile_definitions(lorvexops PRIVATE LORVEXOPS_BUILDING)
target_compile_options(lorvexops PRIVATE -Wall -Wextra -Wno-unused-parameter -fvisibility-inlines-hidden)
target_link_libraries(lorvexops PUBLIC lorvexops_headers PRIVATE PkgConfig::MAGICK)
target_link_options(lorvexops PRIVATE ${LORVEX_SPEC})
target_link_libraries(lorvexops PRIVATE comctl32 comdlg32 gdi32 user32 shell32 shlwapi kernel32 advapi32)
# The zip companion (CZLib) is built on the system's minizip.
target_link_libraries(lorvexops PRIVATE minizip)
lorvex_add_resources(lorvexops ${LORVEX_RC})

set(LORVEX_FAKE_DLL ${LORVEX_DLL_DIR}/lorvexops.dll)
set(LORVEX_IMPLIB ${LORVEX_DLL_DIR}/liblorvexops.a)
add_custom_command(OUTPUT ${LORVEX_FAKE_DLL} ${LORVEX_IMPLIB}
  COMMAND ${WINEBUILD} --dll --fake-module -E ${LORVEX_SPEC} -F lorvexops.dll -o ${LORVEX_FAKE_DLL}
  COMMAND ${WINEBUILD} --implib -E ${LORVEX_SPEC} -F lorvexops.dll -o ${LORVEX_IMPLIB}
  DEPENDS lorvexops ${LORVEX_SPEC}
  COMMENT "Making the fake module and import library of lorvexops.dll"
  VERBATIM)
add_custom_target(lorvexops_dll ALL DEPENDS ${LORVEX_FAKE_DLL} ${LORVEX_IMPLIB})
