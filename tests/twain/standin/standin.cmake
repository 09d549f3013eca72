# The twain suite talks to a stand-in source manager: a real PE TWAIN_32.DLL
# made with the MinGW cross compiler into a folder the tests put on the DLL
# search path. Wine's own manager is switched off for the suite (native only),
# since the library looks in the system folder first.
find_program(MINGW_CC x86_64-w64-mingw32-gcc REQUIRED)
set(standin_src ${CMAKE_CURRENT_LIST_DIR})
set(standin_dll ${CMAKE_CURRENT_BINARY_DIR}/twain-standin/TWAIN_32.DLL)
add_custom_command(OUTPUT ${standin_dll}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/twain-standin
  COMMAND ${MINGW_CC} -shared -O2 -Wall -I${CMAKE_SOURCE_DIR}/include -o ${standin_dll}
          ${standin_src}/standin.c ${standin_src}/standin.def
  DEPENDS ${standin_src}/standin.c ${standin_src}/standin.def ${CMAKE_SOURCE_DIR}/include/lorvexops/twaindefs.h
  COMMENT "Building the stand-in TWAIN source manager"
  VERBATIM)
add_custom_target(twain_standin ALL DEPENDS ${standin_dll})
add_dependencies(test_twain twain_standin)
set_property(TEST twain APPEND PROPERTY ENVIRONMENT "WINEDLLOVERRIDES=twain_32=n")
