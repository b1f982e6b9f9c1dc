#pragma once
// Ids of the target program's dialog, shared by its resource script and the tests.

#define IDD_TARGET 1
#define IDC_INPUT 100    // edit: has the focus at the start
#define IDC_STATUS 101   // static: "ready", then what the buttons did
#define IDC_KEYS 102     // static: Enter and Escape keys that reached a control, as "Escape@100"
#define IDC_START 103    // edit: how the program was started, "<command line>|<folder>|<E2E_MARK>"
#define IDC_CHANGE 104   // button: status "changed <n>"
#define IDC_BOX 105      // button: a message box, then status "box answered <button id>"
