// Ids of the dialog template used by the framework's dialog tests.
#pragma once
#define IDD_EXCHANGE 200
#define IDC_NAME 1001
#define IDC_FLAG 1002
#define IDC_NUMBER 1003
#define IDC_CHOICE 1004
#define IDC_COUNT 1005
