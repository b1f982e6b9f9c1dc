#pragma once
// Numbers of the executable's resources and of the identifier dialog's controls.
// Shared by the resource script and the code.

#define IDD_IDENTIFIER      101
#define IDB_CHANGE          103
#define IDS_CURRENT_GUID    106
#define IDS_NEW_GUID        107
#define IDB_BANNER          108
#define IDI_VORTAG          109
#define IDB_CLOSE           115

#define IDC_CURRENT_LABEL   201
#define IDC_CHANGE          202
#define IDC_CLOSE           203
#define IDC_NEW_LABEL       204
#define IDC_CURRENT_GUID    205
#define IDC_NEW_GUID        206
