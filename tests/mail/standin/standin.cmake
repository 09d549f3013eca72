# The mail suite hands its mail to a stand-in mail library: a real PE
# mapi32.dll beside the test program (Wine lets only a native DLL replace its
# own mapi32), chosen with WINEDLLOVERRIDES. A second run without any mail
# library covers the desktop fallback of a system that has none.
find_program(MINGW_CC x86_64-w64-mingw32-gcc REQUIRED)
set(mail_standin_src ${CMAKE_CURRENT_LIST_DIR})
set(mail_standin_dll ${CMAKE_CURRENT_BINARY_DIR}/mapi32.dll)
add_custom_command(OUTPUT ${mail_standin_dll}
  COMMAND ${MINGW_CC} -shared -O2 -Wall -o ${mail_standin_dll}
          ${mail_standin_src}/mapi32.c ${mail_standin_src}/mapi32.def
  DEPENDS ${mail_standin_src}/mapi32.c ${mail_standin_src}/mapi32.def
  COMMENT "Building the stand-in mail library"
  VERBATIM)
add_custom_target(mail_standin ALL DEPENDS ${mail_standin_dll})
add_dependencies(test_mail mail_standin)
target_link_libraries(test_mail PRIVATE minizip)   # reads archives back
set_property(TEST mail APPEND PROPERTY ENVIRONMENT "WINEDLLOVERRIDES=mapi32=n,b")
add_test(NAME mail_without_library
  COMMAND ${LORVEX_WINE_RUN} ${CMAKE_BINARY_DIR} $<TARGET_FILE:test_mail> --gtest_filter=MailWithoutLibrary.*)
set_tests_properties(mail_without_library PROPERTIES
  ENVIRONMENT "LORVEX_SOURCE_DIR=${CMAKE_SOURCE_DIR};WINEDLLOVERRIDES=mapi32=d" TIMEOUT 600
  PASS_REGULAR_EXPRESSION "OK \\] MailWithoutLibrary")   # ran, not skipped
