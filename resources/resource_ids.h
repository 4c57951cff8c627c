// Resource identifiers shared by the .rc file and the code.
#pragma once

#define IDI_OSTRAND 500
#define IDI_OSTRAND_ABOUT 501

#define IDD_ABOUT 1025
#define IDD_DUPLICATE_ACTION 1600
#define IDD_COLUMN_DELETE 1601
#define IDD_DIAGNOSTICS 1602

// About dialog
#define IDC_ABOUT_OPEN_DIRS 3
#define IDC_ABOUT_PAGES 1003
#define IDC_ABOUT_TEXT 1015

// Diagnostics window
#define IDC_DIAGNOSTICS_TEXT 1015

#ifndef IDC_STATIC
#define IDC_STATIC -1
#endif

// Duplicate File Action dialog (IDD_DUPLICATE_ACTION); Close is IDCANCEL.
#define IDC_PATH_A 1002
#define IDC_SIZE_A 1005
#define IDC_MODIFIED_A 1010
#define IDC_PATH_B 1011
#define IDC_SIZE_B 1012
#define IDC_MODIFIED_B 1013
#define IDC_DELETE_ALL_A 1020
#define IDC_DELETE_ALL_B 1021
#define IDC_OPEN_A 1027
#define IDC_DETAIL_VIEW 1028
#define IDC_DELETE_A 1029
#define IDC_OPEN_B 1030
#define IDC_PAIR_TITLE 1031
#define IDC_DELETE_B 1032

// Column delete dialog (IDD_COLUMN_DELETE); Yes is IDOK, No is IDCANCEL.
#define IDC_BATCH_PROGRESS 850
#define IDC_BATCH_TEXT 1601
