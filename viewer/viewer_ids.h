// Resources of lorvex-viewer: menu commands, accelerators and its two dialogs.
#pragma once
#define IDM_MAIN            100
#define IDA_MAIN            101
#define IDD_RENAME          102
#define IDD_RENUMBER        103

#define ID_OPEN             1001
#define ID_SAVEAS           1002
#define ID_SAVEOPTIONS      1003
#define ID_MAIL             1004
#define ID_SCAN             1005
#define ID_ASSOCIATIONS     1006
#define ID_EXIT             1007
#define ID_NEXT             1010
#define ID_PREVIOUS         1011
#define ID_FIRST            1012
#define ID_LAST             1013
#define ID_SORT_NAME        1020
#define ID_SORT_EXTENSION   1021
#define ID_SORT_SIZE        1022
#define ID_SORT_DATE        1023
#define ID_SORT_ASCENDING   1024
#define ID_SORT_DESCENDING  1025
#define ID_RENAME           1030
#define ID_RENUMBER         1031
#define ID_FLIP             1032
#define ID_CROP             1033
#define ID_RESIZE           1034
#define ID_BATCHRESIZE      1035

#define IDC_NAME            1100
#define IDC_BASE            1101
#define IDC_FIRST           1102
