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
