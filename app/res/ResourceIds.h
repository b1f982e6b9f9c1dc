#pragma once
// Numbers of the tool's resources and dialog controls, shared by the resource script and
// the code. Plain defines: the resource compiler reads this file too.

#define IDD_IDENTIFIER          101  // the identifier dialog
#define IDB_CHANGE              103  // button face CHANGE / CAMBIAR
#define IDS_CURRENT_IDENTIFIER  106  // "Current GUID:"
#define IDS_NEW_IDENTIFIER      107  // "New GUID: "
#define IDB_BANNER              108  // the dialog's top
#define IDI_VORTAG              109  // the tool's icon
#define IDB_CLOSE               115  // button face CLOSE / CERRAR

// The same images drawn for 150 % and 200 % (144 and 192 DPI): their numbers plus 1000 and 2000.
#define IDB_CHANGE_150          1103
#define IDB_BANNER_150          1108
#define IDB_CLOSE_150           1115
#define IDB_CHANGE_200          2103
#define IDB_BANNER_200          2108
#define IDB_CLOSE_200           2115

// The buttons' names, which screen readers read (the faces are bitmaps), and what a failed
// change says; in a string block of their own (block 8), after the labels' block 7.
#define IDS_CHANGE_BUTTON       112  // "CHANGE"
#define IDS_CLOSE_BUTTON        113  // "CLOSE"
#define IDS_CHANGE_FAILED       114  // "Change failed: "
#define IDS_COLLECTOR_NOT_STARTED 115  // "New GUID, collector not started"
#define IDS_ERROR               116  // "Error", before a code that the system has no text for

#define IDC_BANNER              -1   // the static control that shows the banner
#define IDC_CURRENT_LABEL       201
#define IDC_CHANGE              202
#define IDC_CLOSE               203
#define IDC_NEW_LABEL           204
#define IDC_CURRENT_IDENTIFIER  205
#define IDC_NEW_IDENTIFIER      206
