// Resource identifiers shared by the .rc file and the code.
#pragma once

#define IDI_OSTRAND 500
#define IDI_OSTRAND_ABOUT 501

#define IDD_ABOUT 1025
#define IDD_DUPLICATE_ACTION 1600
#define IDD_COLUMN_DELETE 1601
#define IDD_DIAGNOSTICS 1602
