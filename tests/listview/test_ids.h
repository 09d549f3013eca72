// The sorted-list test dialog.
#pragma once
#define IDD_LIST_TEST 300
#define IDC_LIST_TEST 1301
