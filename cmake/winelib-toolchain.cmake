# Winelib build: real Win32 code compiled by Wine's compiler drivers on Linux.
set(CMAKE_SYSTEM_NAME Linux)
set(WINE_TOOLS_DIR /usr/lib/wine CACHE PATH "Folder of winegcc, wineg++, wrc and winebuild")
set(CMAKE_C_COMPILER ${WINE_TOOLS_DIR}/winegcc)
set(CMAKE_CXX_COMPILER ${WINE_TOOLS_DIR}/wineg++)
