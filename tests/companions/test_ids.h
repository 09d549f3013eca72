// Templates and controls of the companions test dialogs.
#pragma once
#define IDD_TEST_DIALOG 200
#define IDC_TEST_APPLY 1001
#define IDC_TEST_OWNERDRAW 1002
#define IDC_TEST_LIST 1003
#define IDD_TEST_MISSING 299
